// Fuzzes Pixbridge's decoder: any bytes as a PNG file. The input is handed over as a file in
// memory (memfd), reached through its /proc path, so no disk is touched.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "pixbridge.h"

namespace {
int g_errors = 0;
void CountError(const char*, const char*) { ++g_errors; }
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const int fd = memfd_create("fuzz_png", 0);
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    if (fd < 0 || ftruncate(fd, 0) != 0) std::abort();
    if (size && pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) std::abort();
    PixbridgeSetErrorHook(CountError);

    g_errors = 0;
    std::int32_t width = -1, height = -1;
    PixbridgeBitmap* bitmap = Png2BitmapExt(nullptr, path.c_str(), &width, &height);
    // Either a bitmap of the reported size, or one "Error!" and 0 x 0.
    if (bitmap) {
        if (g_errors != 0 || width <= 0 || height <= 0 || bitmap->width != width ||
            bitmap->height != height || !bitmap->pixels)
            __builtin_trap();
        volatile std::uint32_t sink = bitmap->pixels[0] ^
                                      bitmap->pixels[static_cast<std::size_t>(width) * height - 1];
        (void)sink;
        PixbridgeDeleteBitmap(bitmap);
    } else if (g_errors != 1 || width != 0 || height != 0) {
        __builtin_trap();
    }
    return 0;
}
