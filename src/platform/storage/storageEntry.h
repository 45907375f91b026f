// The application settings store (UDSM): the settings file held in memory as an ordered
// key list, saved atomically with a backup copy. One store per process; its functions
// may be called from any thread.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

enum UDSM_OpenResult {
    UDSM_LOADED_MAIN,      // the main file was valid
    UDSM_LOADED_BACKUP,    // the main file was missing or damaged; the backup was valid
    UDSM_LOADED_DEFAULTS,  // neither was usable (or neither exists yet): the store is empty
};

enum UDSM_Status {
    UDSM_OK = 0,
    UDSM_ERR_NOT_OPEN,
    UDSM_ERR_BAD_KEY,         // empty, or holds ']' or a newline
    UDSM_ERR_BAD_VALUE,       // holds a newline
    UDSM_ERR_LINE_TOO_LONG,   // the line would pass UDSM_MAX_LINE_BYTES
    UDSM_ERR_FILE_TOO_LARGE,  // the file would pass UDSM_MAX_FILE_BYTES
    UDSM_ERR_IO,              // the save did not complete
};

// The steps of a save, in order. The save hook is called after each.
enum UDSM_SaveStep {
    UDSM_STEP_TEMP_WRITTEN,    // "<main>.new" written, not yet synced
    UDSM_STEP_TEMP_SYNCED,     // ... synced and closed
    UDSM_STEP_MAIN_TO_BACKUP,  // the main file renamed to the backup (skipped when there is none)
    UDSM_STEP_TEMP_TO_MAIN,    // the new file renamed to the main file
    UDSM_STEP_DIR_SYNCED,      // the directory synced
};

// A hook returning false stops the save right there, leaving the files as a crash
// at that point would. For tests; it runs inside the store and must not call UDSM_*.
using UDSM_SaveHook = std::function<bool(UDSM_SaveStep step)>;

// Loads the store from the main file, else from the backup, else starts empty. Damaged
// files are renamed to "<path>.damaged"; a missing file is not damage. Discards the
// contents of a store that was open.
UDSM_OpenResult UDSM_Open(const char* mainPath, const char* backupPath);
// Forgets the store without saving.
void UDSM_Close();

bool UDSM_Get(std::string_view key, std::string* out);
// Stores the value. A refused write is logged and leaves the store as it was.
UDSM_Status UDSM_Put(std::string_view key, std::string_view value);
// False when the key was not there.
bool UDSM_Remove(std::string_view key);
// Removes every key that starts with the prefix; returns how many.
std::size_t UDSM_RemovePrefix(std::string_view prefix);

// Writes the file: its folder made when missing (with the parents), a new
// file, synced, the main file renamed to the backup, the new file renamed to
// the main file, the directory synced. Clears the dirty flag on success; a
// failed save leaves the changes pending for the next one (its cause is
// logged once until a save succeeds again).
UDSM_Status UDSM_Save();
// True when the store holds changes not yet saved.
bool UDSM_IsDirty();
// How many changes (writes and removals that changed the store) the file
// does not hold yet: 0 after a successful save.
std::size_t UDSM_UnsavedChanges();
// True when the file at `path` can be written: its folder, or the nearest
// existing parent a missing folder would be made in, allows writing.
bool UDSM_FolderWritable(const char* path);

void UDSM_SetSaveHook(UDSM_SaveHook hook);
