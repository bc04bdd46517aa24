#pragma once
// Replacing a whole file so that whoever reads it, and whatever a crash leaves,
// finds either the old file or the new one: the new text goes into a temporary
// file beside it, which is synced and renamed over it; then the folder is
// synced so that the rename itself lasts.
#include <string>
#include <string_view>

/// The steps of a replacement a test can make fail (or stop the process at).
enum class FileReplaceStep {
    Create,  // making the temporary file
    Write,   // after half of the text is written
    Sync,    // syncing the temporary file
    Rename,  // renaming it over the old file
};
/// Returns true to make `step` fail as the system call would. nullptr: no faults.
using FileReplaceFaultHook = bool (*)(FileReplaceStep step);
/// The seam for tests; process-wide.
void SetFileReplaceFaultHook(FileReplaceFaultHook hook);

/// For ReplaceFileDurably: the new file takes the old file's permissions, or,
/// when there is none, 0666 less the umask.
inline constexpr int kKeepFileMode = -1;

/// Replaces the file at path with contents. mode gives the new file's
/// permission bits whatever the umask, or is kKeepFileMode. On failure the old
/// file is left as it was, no temporary file stays behind, and the result is
/// false. Temporary files are named after path with ".tmp." and a number, so
/// two processes replacing the same file never write into one temporary file.
bool ReplaceFileDurably(const std::string& path, std::string_view contents, int mode = kKeepFileMode);

/// Writes all of data to the descriptor, again after a signal; false on an error.
bool WriteFully(int fd, std::string_view data);
