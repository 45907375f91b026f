// DoubleChain: an ordered list of (key, value) strings. Entries keep the order in
// which their keys were first inserted; replacing a value keeps the entry's place.
// Lookups go through an index, so a chain of a few thousand keys stays fast.
#pragma once

#include <cstddef>
#include <functional>
#include <iterator>
#include <list>
#include <map>
#include <string>
#include <string_view>

struct DC_Entry {
    std::string key;
    std::string value;
};

class DC_Chain {
public:
    using const_iterator = std::list<DC_Entry>::const_iterator;

    DC_Chain() = default;
    DC_Chain(const DC_Chain&) = delete;
    DC_Chain& operator=(const DC_Chain&) = delete;
    DC_Chain(DC_Chain&&) = default;
    DC_Chain& operator=(DC_Chain&&) = default;

    // Iteration in insertion order: for (const DC_Entry& e : chain) ...
    const_iterator begin() const { return entries_.begin(); }
    const_iterator end() const { return entries_.end(); }

private:
    friend const DC_Entry* DC_Find(const DC_Chain& chain, std::string_view key);
    friend void DC_Put(DC_Chain& chain, std::string_view key, std::string_view value);
    friend bool DC_Remove(DC_Chain& chain, std::string_view key);
    friend std::size_t DC_RemovePrefix(DC_Chain& chain, std::string_view prefix);
    friend std::size_t DC_Count(const DC_Chain& chain);
    friend void DC_Clear(DC_Chain& chain);

    std::list<DC_Entry> entries_;
    std::map<std::string, std::list<DC_Entry>::iterator, std::less<>> index_;
};

// The entry of the key, or nullptr. The pointer stays valid until that entry is removed.
const DC_Entry* DC_Find(const DC_Chain& chain, std::string_view key);
// Replaces the value of an existing key in place, or appends a new entry at the end.
void DC_Put(DC_Chain& chain, std::string_view key, std::string_view value);
// Removes the key's entry; false when there was none.
bool DC_Remove(DC_Chain& chain, std::string_view key);
// Removes every entry whose key starts with the prefix; returns how many went.
std::size_t DC_RemovePrefix(DC_Chain& chain, std::string_view prefix);
std::size_t DC_Count(const DC_Chain& chain);
void DC_Clear(DC_Chain& chain);
