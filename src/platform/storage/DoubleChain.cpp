#include "platform/storage/DoubleChain.h"

const DC_Entry* DC_Find(const DC_Chain& chain, std::string_view key) {
    auto it = chain.index_.find(key);
    return it == chain.index_.end() ? nullptr : &*it->second;
}

void DC_Put(DC_Chain& chain, std::string_view key, std::string_view value) {
    auto it = chain.index_.find(key);
    if (it != chain.index_.end()) {
        it->second->value.assign(value);
        return;
    }
    chain.entries_.push_back(DC_Entry{std::string(key), std::string(value)});
    chain.index_.emplace(std::string(key), std::prev(chain.entries_.end()));
}

bool DC_Remove(DC_Chain& chain, std::string_view key) {
    auto it = chain.index_.find(key);
    if (it == chain.index_.end()) return false;
    chain.entries_.erase(it->second);
    chain.index_.erase(it);
    return true;
}

std::size_t DC_RemovePrefix(DC_Chain& chain, std::string_view prefix) {
    // The index is sorted, so the matching keys form one run starting at the prefix.
    std::size_t removed = 0;
    auto it = chain.index_.lower_bound(prefix);
    while (it != chain.index_.end() && std::string_view(it->first).starts_with(prefix)) {
        chain.entries_.erase(it->second);
        it = chain.index_.erase(it);
        ++removed;
    }
    return removed;
}

std::size_t DC_Count(const DC_Chain& chain) { return chain.entries_.size(); }

void DC_Clear(DC_Chain& chain) {
    chain.index_.clear();
    chain.entries_.clear();
}
