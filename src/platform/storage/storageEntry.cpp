#include "platform/storage/storageEntry.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/storage/DoubleChain.h"
#include "platform/storage/SimpleFileReader.h"
#include "platform/storage/kept_aside.h"
#include "platform/storage/native_log.h"
#include "platform/storage/storageFunction.h"
#include "runtime/escaped_text.h"

namespace {

struct Store {
    std::mutex mutex;
    bool open = false;
    std::string mainPath;
    std::string backupPath;
    DC_Chain chain;
    std::size_t fileBytes = UDSM_CRC_BYTES;  // size of the file the chain would make
    bool dirty = false;
    // The main file on disk holds a complete, valid set (so it may become the backup).
    bool mainIsGood = false;
    // Changes made since the last complete save (0 when the file holds them all).
    std::size_t unsaved = 0;
    // The last save failed: later failures of the same kind are not logged again.
    bool failing = false;
    // The last save could not make the backup (logged once).
    bool backupFailing = false;
    UDSM_SaveHook hook;
};

Store& TheStore() {
    static Store store;
    return store;
}

// A short printable form of a key for log lines.
std::string Printable(std::string_view text) { return kv::EscapedText(text, 64); }

std::size_t FileBytesOf(const DC_Chain& chain) {
    std::size_t total = UDSM_CRC_BYTES;
    for (const DC_Entry& e : chain) total += UDSM_LineBytes(e.key, e.value);
    return total;
}

// NotFile: something other than a plain file stands at the name (a pipe, a
// folder); it is never opened in a way that can wait, and is set aside.
enum class Load { Loaded, Missing, Damaged, NotFile };

bool Unusable(Load load) { return load == Load::Damaged || load == Load::NotFile; }

// Reads and checks a settings file into `out` (left alone unless it loads).
// `quiet` leaves a damaged file unlogged: a half-written new file is what a
// power cut during a save leaves, not damage. `kind` receives what stands
// there when it is no plain file.
Load LoadFile(const std::string& path, DC_Chain* out, bool quiet = false, std::string* kind = nullptr) {
    std::vector<uint8_t> bytes;
    switch (SFR_ReadFile(path.c_str(), UDSM_MAX_FILE_BYTES, &bytes, kind)) {
        case SFR_OK: break;
        case SFR_MISSING: return Load::Missing;
        case SFR_NOT_FILE: return Load::NotFile;
        case SFR_TOO_LARGE:
        case SFR_ERROR:
            if (!quiet) NativeLog("UDSM: settings file %s is unusable", kv::EscapedText(path, kv::kMaxLoggedPath).c_str());
            return Load::Damaged;
    }
    std::string error;
    if (!UDSM_Parse(bytes.data(), bytes.size(), out, &error)) {
        if (!quiet) NativeLog("UDSM: settings file %s is damaged: %s", kv::EscapedText(path, kv::kMaxLoggedPath).c_str(), kv::EscapedText(error, 120).c_str());
        return Load::Damaged;
    }
    return Load::Loaded;
}

// A damaged file is kept as <path>.damaged; those kept before it move on to
// .damaged.1 and .damaged.2, so that none takes the place of another. `kind`
// names what stood there when it was no plain file, said in the same line.
void SetAside(const std::string& path, const std::string& kind = {}) {
    std::string aside = path + ".damaged";
    std::string why;
    if (storage::MoveAside(path, aside, &why)) {
        if (kind.empty())
            NativeLog("UDSM: damaged settings file kept as %s", kv::EscapedText(aside, kv::kMaxLoggedPath).c_str());
        else
            NativeLog("UDSM: %s (%s) is kept as %s", kv::EscapedText(path, kv::kMaxLoggedPath).c_str(),
                      kind.c_str(), kv::EscapedText(aside, kv::kMaxLoggedPath).c_str());
    } else {
        NativeLog("UDSM: cannot rename %s to %s: %s", kv::EscapedText(path, kv::kMaxLoggedPath).c_str(), kv::EscapedText(aside, kv::kMaxLoggedPath).c_str(), why.c_str());
    }
}

std::string DirectoryOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Logs a failed save step, once for a run of failures, so that a folder that
// cannot be written does not fill the log with one line per change.
void SaveFailed(Store& s, const char* fmt, ...) {
    if (s.failing) return;
    char line[768];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(line, sizeof line, fmt, args);
    va_end(args);
    NativeLog("%s", line);
}

// Makes the folder and its parents; true when it exists afterwards.
bool MakeDirectories(const std::string& dir) {
    struct stat st {};
    if (::stat(dir.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return true;
        errno = ENOTDIR;
        return false;
    }
    std::size_t slash = dir.rfind('/');
    if (slash != std::string::npos && slash > 0 && !MakeDirectories(dir.substr(0, slash))) return false;
    return ::mkdir(dir.c_str(), 0755) == 0 || errno == EEXIST;
}

// The nearest folder of the path that exists (the path itself when it does).
std::string ExistingFolder(std::string dir) {
    struct stat st {};
    while (::stat(dir.c_str(), &st) != 0) {
        std::size_t slash = dir.rfind('/');
        if (slash == std::string::npos) return ".";
        if (slash == 0) return "/";
        dir.resize(slash);
    }
    return dir;
}

bool SyncDirectory(Store& s, const std::string& dir) {
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        SaveFailed(s, "UDSM: cannot open directory %s: %s", dir.c_str(), std::strerror(errno));
        return false;
    }
    bool ok = ::fsync(fd) == 0;
    if (!ok) SaveFailed(s, "UDSM: cannot sync directory %s: %s", dir.c_str(), std::strerror(errno));
    ::close(fd);
    return ok;
}

bool WriteAll(int fd, const std::vector<uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool StepDone(Store& s, UDSM_SaveStep step) {
    if (!s.hook || s.hook(step)) return true;
    NativeLog("UDSM: save stopped after step %d", static_cast<int>(step));
    return false;
}

UDSM_Status SaveSteps(Store& s) {
    std::vector<uint8_t> bytes;
    std::string error;
    if (!UDSM_Serialize(s.chain, &bytes, &error)) {
        // Put refuses anything that would get here; this guards the file all the same.
        NativeLog("UDSM: save refused: %s", kv::EscapedText(error, 120).c_str());
        return UDSM_ERR_FILE_TOO_LARGE;
    }
    // A new data folder is made here: nothing else may have made it yet.
    for (const std::string& dir : {DirectoryOf(s.mainPath), DirectoryOf(s.backupPath)}) {
        if (!MakeDirectories(dir)) {
            SaveFailed(s, "UDSM: cannot make the folder %s: %s", dir.c_str(), std::strerror(errno));
            return UDSM_ERR_IO;
        }
    }
    std::string tempPath = s.mainPath + ".new";
    // Whatever stands at the new file's name (a folder left there) is moved
    // aside, said once, and the save goes on.
    std::string movedAside;
    int fd = storage::OpenNewFile(tempPath, tempPath + ".damaged", &movedAside);
    if (fd >= 0 && !movedAside.empty()) NativeLog("UDSM: %s", movedAside.c_str());
    if (fd < 0) {
        if (!movedAside.empty()) SaveFailed(s, "UDSM: %s", movedAside.c_str());
        SaveFailed(s, "UDSM: cannot create %s: %s", tempPath.c_str(), std::strerror(errno));
        return UDSM_ERR_IO;
    }
    if (!WriteAll(fd, bytes)) {
        SaveFailed(s, "UDSM: cannot write %s: %s", tempPath.c_str(), std::strerror(errno));
        ::close(fd);
        return UDSM_ERR_IO;
    }
    if (!StepDone(s, UDSM_STEP_TEMP_WRITTEN)) {
        ::close(fd);
        return UDSM_ERR_IO;
    }
    if (::fsync(fd) != 0) {
        SaveFailed(s, "UDSM: cannot sync %s: %s", tempPath.c_str(), std::strerror(errno));
        ::close(fd);
        return UDSM_ERR_IO;
    }
    if (::close(fd) != 0) {
        SaveFailed(s, "UDSM: cannot close %s: %s", tempPath.c_str(), std::strerror(errno));
        return UDSM_ERR_IO;
    }
    if (!StepDone(s, UDSM_STEP_TEMP_SYNCED)) return UDSM_ERR_IO;

    // Only a main file known to be complete may replace the backup. A backup
    // that cannot be made (a folder in its place) stops no save: the settings
    // are saved without it, and the backup not made is named once.
    if (s.mainIsGood) {
        if (std::rename(s.mainPath.c_str(), s.backupPath.c_str()) == 0) {
            s.backupFailing = false;
        } else {
            if (!s.backupFailing)
                NativeLog("UDSM: the backup %s cannot be made (%s); the settings are saved without it",
                          kv::EscapedText(s.backupPath, kv::kMaxLoggedPath).c_str(), std::strerror(errno));
            s.backupFailing = true;
        }
        s.mainIsGood = false;
    }
    if (!StepDone(s, UDSM_STEP_MAIN_TO_BACKUP)) return UDSM_ERR_IO;

    if (std::rename(tempPath.c_str(), s.mainPath.c_str()) != 0) {
        SaveFailed(s, "UDSM: cannot rename %s to %s: %s", tempPath.c_str(), s.mainPath.c_str(), std::strerror(errno));
        return UDSM_ERR_IO;
    }
    s.mainIsGood = true;
    if (!StepDone(s, UDSM_STEP_TEMP_TO_MAIN)) return UDSM_ERR_IO;

    std::string mainDir = DirectoryOf(s.mainPath);
    std::string backupDir = DirectoryOf(s.backupPath);
    bool synced = SyncDirectory(s, mainDir);
    if (backupDir != mainDir) synced = SyncDirectory(s, backupDir) && synced;
    if (!synced) return UDSM_ERR_IO;
    if (!StepDone(s, UDSM_STEP_DIR_SYNCED)) return UDSM_ERR_IO;
    return UDSM_OK;
}

// A failed save leaves the store dirty, so the next change saves again.
UDSM_Status SaveLocked(Store& s) {
    UDSM_Status status = SaveSteps(s);
    if (status == UDSM_OK) {
        if (s.failing) NativeLog("UDSM: the settings file %s is saved again", kv::EscapedText(s.mainPath, kv::kMaxLoggedPath).c_str());
        s.dirty = false;
        s.unsaved = 0;
        s.failing = false;
    } else {
        s.failing = true;
    }
    return status;
}

}  // namespace

UDSM_OpenResult UDSM_Open(const char* mainPath, const char* backupPath) {
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    if (s.open && s.dirty) NativeLog("UDSM: reopened with unsaved changes; they are dropped");
    s.open = true;
    s.mainPath = mainPath;
    s.backupPath = backupPath;
    DC_Clear(s.chain);
    s.dirty = false;
    s.unsaved = 0;
    s.failing = false;
    s.backupFailing = false;
    s.mainIsGood = false;

    UDSM_OpenResult result = UDSM_LOADED_DEFAULTS;
    // A save writes the new file completely before it renames anything, so a
    // new file that checks is the latest set: a power cut between the renames
    // left it there, and the older main or backup must not win over it.
    const std::string tempPath = s.mainPath + ".new";
    std::string freshKind, mainKind, backupKind;
    Load fresh = LoadFile(tempPath, &s.chain, true, &freshKind);
    if (fresh == Load::Loaded) {
        DC_Chain scratch;
        Load main = LoadFile(s.mainPath, &scratch, false, &mainKind);
        if (Unusable(main)) SetAside(s.mainPath, mainKind);
        s.mainIsGood = main == Load::Loaded;
        NativeLog("UDSM: settings taken from the complete new file %s", kv::EscapedText(tempPath, kv::kMaxLoggedPath).c_str());
        result = UDSM_LOADED_MAIN;
    } else {
        if (fresh == Load::NotFile) {
            SetAside(tempPath, freshKind);
        } else if (fresh == Load::Damaged) {
            NativeLog("UDSM: the incomplete new file %s is ignored", kv::EscapedText(tempPath, kv::kMaxLoggedPath).c_str());
            std::remove(tempPath.c_str());
        }
        Load main = LoadFile(s.mainPath, &s.chain, false, &mainKind);
        if (main == Load::Loaded) {
            result = UDSM_LOADED_MAIN;
            s.mainIsGood = true;
        } else {
            Load backup = LoadFile(s.backupPath, &s.chain, false, &backupKind);
            if (backup == Load::Loaded) {
                result = UDSM_LOADED_BACKUP;
                NativeLog("UDSM: settings loaded from the backup %s", kv::EscapedText(s.backupPath, kv::kMaxLoggedPath).c_str());
            } else {
                if (main == Load::Missing && backup == Load::Missing) {
                    NativeLog("UDSM: no settings file yet; starting from defaults");
                } else {
                    NativeLog("UDSM: no usable settings file; starting from defaults");
                }
                if (Unusable(backup)) SetAside(s.backupPath, backupKind);
            }
            if (Unusable(main)) SetAside(s.mainPath, mainKind);
        }
    }
    s.fileBytes = FileBytesOf(s.chain);
    // A set taken from the new file or the backup is written as the main file
    // at once, so the next start finds a good main file and says nothing.
    if (fresh == Load::Loaded || result == UDSM_LOADED_BACKUP) {
        s.dirty = true;
        SaveLocked(s);
    }
    return result;
}

void UDSM_Close() {
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    if (s.open && s.dirty) NativeLog("UDSM: closed with unsaved changes; they are dropped");
    s.open = false;
    DC_Clear(s.chain);
    s.fileBytes = UDSM_CRC_BYTES;
    s.dirty = false;
    s.unsaved = 0;
    s.failing = false;
    s.mainIsGood = false;
}

bool UDSM_Get(std::string_view key, std::string* out) {
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    const DC_Entry* e = s.open ? DC_Find(s.chain, key) : nullptr;
    if (e == nullptr) return false;
    *out = e->value;
    return true;
}

UDSM_Status UDSM_Put(std::string_view key, std::string_view value) {
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    if (!s.open) {
        NativeLog("UDSM: write of \"%s\" before the store is open", Printable(key).c_str());
        return UDSM_ERR_NOT_OPEN;
    }
    if (!UDSM_IsValidKey(key)) {
        NativeLog("UDSM: refused key \"%s\": empty, or holds ']' or a newline", Printable(key).c_str());
        return UDSM_ERR_BAD_KEY;
    }
    if (!UDSM_IsValidValue(value)) {
        NativeLog("UDSM: refused value of \"%s\": holds a newline", Printable(key).c_str());
        return UDSM_ERR_BAD_VALUE;
    }
    std::size_t line = UDSM_LineBytes(key, value);
    if (line > UDSM_MAX_LINE_BYTES) {
        NativeLog("UDSM: refused \"%s\": line of %zu bytes passes %zu", Printable(key).c_str(), line,
                  UDSM_MAX_LINE_BYTES);
        return UDSM_ERR_LINE_TOO_LONG;
    }
    const DC_Entry* old = DC_Find(s.chain, key);
    std::size_t total = s.fileBytes + line - (old != nullptr ? UDSM_LineBytes(old->key, old->value) : 0);
    if (total > UDSM_MAX_FILE_BYTES) {
        NativeLog("UDSM: refused \"%s\": the file would reach %zu bytes, over %zu", Printable(key).c_str(), total,
                  UDSM_MAX_FILE_BYTES);
        return UDSM_ERR_FILE_TOO_LARGE;
    }
    if (old != nullptr && old->value == value) return UDSM_OK;
    DC_Put(s.chain, key, value);
    s.fileBytes = total;
    s.dirty = true;
    ++s.unsaved;
    return UDSM_OK;
}

bool UDSM_Remove(std::string_view key) {
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    const DC_Entry* e = s.open ? DC_Find(s.chain, key) : nullptr;
    if (e == nullptr) return false;
    s.fileBytes -= UDSM_LineBytes(e->key, e->value);
    DC_Remove(s.chain, key);
    s.dirty = true;
    ++s.unsaved;
    return true;
}

std::size_t UDSM_RemovePrefix(std::string_view prefix) {
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    if (!s.open) return 0;
    std::size_t removed = DC_RemovePrefix(s.chain, prefix);
    if (removed > 0) {
        s.fileBytes = FileBytesOf(s.chain);
        s.dirty = true;
        s.unsaved += removed;
    }
    return removed;
}

UDSM_Status UDSM_Save() {
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    if (!s.open) {
        NativeLog("UDSM: save before the store is open");
        return UDSM_ERR_NOT_OPEN;
    }
    return SaveLocked(s);
}

bool UDSM_IsDirty() {
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    return s.dirty;
}

std::size_t UDSM_UnsavedChanges() {
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    return s.unsaved;
}

bool UDSM_FolderWritable(const char* path) {
    std::string folder = ExistingFolder(DirectoryOf(path));
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

void UDSM_SetSaveHook(UDSM_SaveHook hook) {
    Store& s = TheStore();
    std::lock_guard lock(s.mutex);
    s.hook = std::move(hook);
}
