#pragma once
// The start-up steps that do not need the window.
#include <string>

namespace qb::app {

constexpr const char* kNotWritableText =
    "Sorry, current User can't write on the application folder! Please reinstall Quillbox or "
    "change user!";

// Writes section test, key value = 0 of preferences.ini and reads it back, then 1 and reads it
// back. True when both writes reached the file and read back as written.
bool CheckAppFolderWritable();

// Binds Pixbridge from the executable's folder, else from the installed library folder. Empty
// on success, else the reason.
std::string BindPixbridgeLibrary();
// The message shown once when Pixbridge could not be bound.
std::string PixbridgeMissingText(const std::string& reason);

// Creates the Projects folder in the application folder (an existing one is no error).
void CreateProjectsFolder();

} // namespace qb::app
