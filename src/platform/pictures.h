#pragma once
// The host side of Pixbridge: binding the library at run time and decoding pictures through it.
// When the library is missing nothing is ever called and every decode answers false.
#include <cstdint>
#include <string>
#include <vector>

namespace qb {

struct Picture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, top row first
};

// Loads libpixbridge.so from the folder (normally the executable's) and looks up its
// functions. Answers false with a reason when the library or a function is missing.
bool BindPixbridge(const std::string& folder, std::string* error = nullptr);
bool PixbridgeBound();
// Binds the library beside the running program, or where an installed program keeps it
// (../lib/quillbox); the reason is the one for the folder beside the program.
bool BindPixbridgeBesideProgram(std::string* error = nullptr);
// The folder of the running executable.
std::string ExecutableFolder();

// Routes Pixbridge's "Error!" messages: by default to the message service.
void InstallPixbridgeMessageHook();

// Decodes a PNG through Pixbridge; false (Pixbridge has said "Error!", or is not bound) leaves
// an empty picture.
bool LoadPicture(const std::string& path, Picture& out);

// Whether Pixbridge decodes the file, asked without telling the user anything (its "Error!"
// goes nowhere during the call). Unknown when the library is not bound.
enum class DecodeResult : std::uint8_t { Decodes, Fails, Unknown };
DecodeResult TryDecodePicture(const std::string& path);

} // namespace qb
