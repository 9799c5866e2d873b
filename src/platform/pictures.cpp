#include "platform/pictures.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <system_error>

#include "pixbridge/pixbridge.h"
#include "platform/messages.h"

namespace qb {

namespace {

using DecodeFn = PixbridgeBitmap* (*)(void*, const char*, std::int32_t*, std::int32_t*);
using DeleteFn = void (*)(PixbridgeBitmap*);
using SetHookFn = void (*)(PixbridgeErrorHook);

// One binding for the whole run. The three addresses are set together or not at all, so a
// decode is only ever attempted through a library that has every function.
struct Binding {
    DecodeFn decode = nullptr;
    DeleteFn release = nullptr;
    SetHookFn setHook = nullptr;
};
Binding g_binding;

constexpr const char* kLibraryName = "libpixbridge.so";

void ForwardToMessages(const char* text, const char* title) {
    ShowMessage(text ? text : "", title ? title : "");
}

void Discard(const char*, const char*) {}

void SetReason(std::string* error, std::string reason) {
    if (error) *error = std::move(reason);
}

} // namespace

bool BindPixbridge(const std::string& folder, std::string* error) {
    const std::string path = (std::filesystem::path(folder) / kLibraryName).string();
    dlerror();
    // RTLD_LOCAL: the library's libpng never meets another copy the host may have loaded.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        SetReason(error, "Cannot load " + path + (why ? std::string(": ") + why : std::string()));
        return false;
    }
    Binding found;
    const char* missing = nullptr;
    found.decode = reinterpret_cast<DecodeFn>(dlsym(handle, "Png2BitmapExt"));
    if (!found.decode) missing = "Png2BitmapExt";
    found.release = reinterpret_cast<DeleteFn>(dlsym(handle, "PixbridgeDeleteBitmap"));
    if (!missing && !found.release) missing = "PixbridgeDeleteBitmap";
    found.setHook = reinterpret_cast<SetHookFn>(dlsym(handle, "PixbridgeSetErrorHook"));
    if (!missing && !found.setHook) missing = "PixbridgeSetErrorHook";
    if (missing) {
        dlclose(handle);
        // An earlier good binding stays in force.
        SetReason(error, path + " has no function " + missing);
        return false;
    }
    // The library stays loaded until the process ends, so the addresses never go stale.
    g_binding = found;
    InstallPixbridgeMessageHook();
    if (error) error->clear();
    return true;
}

bool PixbridgeBound() { return g_binding.decode != nullptr; }

std::string ExecutableFolder() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty()) return std::filesystem::current_path(ec).string();
    return exe.parent_path().string();
}

bool BindPixbridgeBesideProgram(std::string* error) {
    const std::filesystem::path folder = ExecutableFolder();
    if (BindPixbridge(folder.string(), error)) return true;
    const std::filesystem::path installed = (folder / QB_BIN_TO_PIXBRIDGE).lexically_normal();
    return BindPixbridge(installed.string(), nullptr);
}

void InstallPixbridgeMessageHook() {
    if (g_binding.setHook) g_binding.setHook(ForwardToMessages);
}

bool LoadPicture(const std::string& path, Picture& out) {
    out = Picture{};
    if (!g_binding.decode) return false;

    WaitCursor wait;
    std::int32_t width = 0, height = 0;
    PixbridgeBitmap* bitmap = g_binding.decode(nullptr, path.c_str(), &width, &height);
    if (!bitmap) return false;
    const bool sane = bitmap->pixels && bitmap->width > 0 && bitmap->height > 0 &&
                      bitmap->width == width && bitmap->height == height;
    if (sane) {
        const std::size_t count =
            static_cast<std::size_t>(bitmap->width) * static_cast<std::size_t>(bitmap->height);
        out.pixels.assign(bitmap->pixels, bitmap->pixels + count);
        out.width = bitmap->width;
        out.height = bitmap->height;
    }
    g_binding.release(bitmap);
    return sane;
}

DecodeResult TryDecodePicture(const std::string& path) {
    if (!g_binding.decode) return DecodeResult::Unknown;
    g_binding.setHook(Discard);
    std::int32_t width = 0, height = 0;
    PixbridgeBitmap* bitmap = g_binding.decode(nullptr, path.c_str(), &width, &height);
    InstallPixbridgeMessageHook();
    if (!bitmap) return DecodeResult::Fails;
    const bool sane = bitmap->pixels && bitmap->width > 0 && bitmap->height > 0;
    g_binding.release(bitmap);
    return sane ? DecodeResult::Decodes : DecodeResult::Fails;
}

} // namespace qb
