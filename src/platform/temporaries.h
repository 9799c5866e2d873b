#pragma once
// Temporary files of this program, and the ones a killed process left behind.
//
// Every temporary file is written beside its target under a hidden name that says which
// process made it: "." + target name + "." + process ID + "." + a suffix (six random
// characters, "N.tmp" or "new"). A process that is killed in the middle of a save leaves such a
// file; the next save in that folder removes those of processes that no longer run.
#include <string>
#include <string_view>

namespace qb {

// folder + "/." + name + "." + this process's ID + "." (the caller appends the suffix).
std::string TemporaryNameFor(std::string_view folder, std::string_view name);

// Removes the temporary files directly in folder whose process no longer runs (also those of
// earlier versions, named "." + name + "." + six characters, once they are ten minutes old).
// Links and folders are never touched, nor anything of a running process.
void RemoveStaleTemporaries(const std::string& folder);

} // namespace qb
