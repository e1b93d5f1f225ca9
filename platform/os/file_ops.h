#pragma once
// Whole-file operations that need the system's own calls: a durable replace of a file, the
// copy of a whole folder, the append of a text in one write, and a file's size. Paths are
// program paths (see files.h).
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace plat {

// Replaces the file at a path all or nothing. Open creates "path.tmp" (so that a file that
// cannot be made fails early); Commit writes the bytes into it, syncs it, renames it over the
// path and syncs the folder. A file that is neither committed nor open any more is removed,
// so the old file stays as it was.
class cDurableFile {
public:
    cDurableFile() = default;
    ~cDurableFile() { Abandon(); }
    cDurableFile(const cDurableFile&) = delete;
    cDurableFile& operator=(const cDurableFile&) = delete;

    bool Open(const char* path);
    // False when any step fails; the file at the path is then as it was (except when only
    // the folder could not be synced: the new file is then in place, but may not survive a
    // crash). "path.tmp" is gone afterwards either way.
    bool Commit(std::string_view bytes);
    // Removes "path.tmp" without touching the file at the path.
    void Abandon();
    bool IsOpen() const { return m_lpFile != nullptr; }

private:
    FILE* m_lpFile = nullptr;
    std::string m_strPath;
    std::string m_strTempPath;
};

// Sees the path of every file a durable replace has put in place (the harness's trace of the
// files a run writes); null: none. Called on the thread that committed it.
using COMMITOBSERVER = void (*)(const char* path);
void SetCommitObserver(COMMITOBSERVER observer);

// A seam for tests of what a failed save leaves: from this call on, a commit of more than
// bytes bytes writes only that many into "path.tmp" and then fails, as on a full disk. A
// negative count ends it.
void FailCommitsAfter(std::int64_t bytes);

// Makes the folder to (which must not exist) a copy of the folder from, all or nothing: the
// tree is copied into "to.copying", every file and folder synced, then renamed to to. Anything
// that is neither a folder nor a regular file (after following links) fails the copy.
bool CopyFolderWhole(const char* from, const char* to);

enum APPENDMODE {
    APPEND_EXISTING,   // the file must exist
    APPEND_TRUNCATE,   // the file is created, or emptied, first
};

// Appends text at the end of the file in one write in append mode, so that it lands in one
// piece whatever other writers do.
bool AppendToFile(const char* path, std::string_view text, APPENDMODE mode);

// The size in bytes of an open file; -1 when the system cannot tell.
std::int64_t FileSize(FILE* file);

}  // namespace plat
