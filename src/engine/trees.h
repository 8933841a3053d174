#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/registry.h"
#include "platform/system_info.h"

namespace kavlo {

// Directory-tree operations of the install, run and uninstall procedures. They never report an
// error: what cannot be deleted stays where it is and the walk goes on. No walk enters a directory
// link: its data belongs elsewhere, and links back to a parent would make a walk endless.

// Whether the directory is there. A drive root ("C:\", "C:") always gives false: callers ask
// before offering to delete or measure a directory, and none of them may act on a whole drive.
bool DirExists(const FileSystem& fs, std::string_view path);

// Deletes one file, clearing read-only, hidden and system for a second try. True when deleted.
bool RemoveFile(FileSystem& fs, std::string_view path);

// Whether removing the directory would take away a drive root, one of `protected_dirs` or a
// directory that holds one of them.
bool IsProtectedDir(const FileSystem& fs, std::string_view dir,
                    const std::vector<std::string>& protected_dirs);

// Deletes a directory with everything in it. Refused as a whole (nothing is deleted) when
// IsProtectedDir says so.
void RemoveTree(FileSystem& fs, std::string_view dir, const std::vector<std::string>& protected_dirs);

// What RemoveTree and DeleteEmptyBranch must leave alone on this PC: the Windows and system
// directories, Program Files (the registry's ProgramFilesDir; Windows' default folder when the
// value is missing), Common Files, and the user's and the common desktop and Start-menu programs
// folders as the registry's shell folders name them.
std::vector<std::string> ProtectedDirsOf(const SystemInfo& system, const Registry& registry);

// Removes the directory and then its parents while they are empty; the climb stops at a drive root
// and at a protected directory, which stay. An installer's "MsCreate.Dir" marker does not keep a
// directory alive.
void DeleteEmptyBranch(FileSystem& fs, std::string_view dir,
                       const std::vector<std::string>& protected_dirs = {});

// Clears read-only on every file of the tree that is neither hidden nor a system file, so that an
// archive can be unpacked over it. Directory links are passed by.
void RemoveReadOnly(FileSystem& fs, std::string_view dir);

// Removes the Start-menu group of that name from the user's and then the common programs folder
// (both given with a trailing back-slash). A name that leads out of a programs folder is refused:
// false then, and nothing is removed.
bool RemoveStartFolder(FileSystem& fs, std::string_view group, std::string_view user_programs,
                       std::string_view common_programs);

// Bytes of all files in the tree.
uint64_t SizeofTree(const FileSystem& fs, std::string_view dir);

// The first directory of the tree (the root included, depth first in listing order) that holds a
// file of that name, with a trailing back-slash; "" when none does. The search is unlimited:
// `depth` comes from the catalogue and is accepted only for its sake.
std::string SearchTree(const FileSystem& fs, std::string_view root, std::string_view file_name, int depth);

} // namespace kavlo
