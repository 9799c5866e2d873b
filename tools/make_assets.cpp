// make_assets: draws the default pictures and the default sound that New item copies into a
// project, and writes them into a folder (normally assets/ of the source tree, where they are
// committed).
//
//   cmake --build build --target make_assets && build/bin/make_assets assets
//   (or: cmake --build build --target regenerate_assets)
//
// Everything is drawn in code, deterministically, so the files only change when this tool does:
//   BackgroundDefault.png  320 x 320, 10 x 10 tiles of 32 pixels; one kind of ground per row
//                          (grass, water, cobbles, bricks, sand, earth, planks, lava, snow, metal),
//                          ten variants of it across, each kind tiling seamlessly.
//   SpritesDefault.png     256 x 256, 8 x 8 cells of 32 pixels on black; rows: player ship,
//                          saucer, bug, shots, explosion, bonus capsules, asteroid, missile.
//                          Each cell keeps its top row and left column black so no sprite
//                          touches its neighbour.
//   SplashDefault.png      640 x 480 title picture.
//   FontDefault16.PNG      1536 x 16: the characters 32 to 127 in order, one row of 16 x 16
//                          cells, from the 5 x 7 pixel font below drawn at double size.
//   test.mp3               a one-second chime, MPEG-1 Layer III, encoded by the `lame` program
//                          (Debian package lame) from samples synthesised here; without lame the
//                          existing test.mp3 is left as it is.
// The pictures are 8-bit RGB PNGs (colour type 2), which every reader handles.
#include <png.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr double kPi = 3.14159265358979323846;

// ---- colours and the canvas ------------------------------------------------------------------

struct Rgb {
    double r = 0, g = 0, b = 0;
};

Rgb Mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Rgb Scale(Rgb c, double f) { return {c.r * f, c.g * f, c.b * f}; }
Rgb Hex(std::uint32_t v) { return {double(v >> 16 & 0xFF), double(v >> 8 & 0xFF), double(v & 0xFF)}; }

std::uint8_t Byte(double v) { return std::uint8_t(std::clamp(std::lround(v), 0L, 255L)); }

struct Clip {
    int left, top, right, bottom;  // right and bottom exclusive
};

class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height), rgb_(size_t(width) * height * 3) {
        ClipAll();
    }
    int width() const { return width_; }
    int height() const { return height_; }
    void ClipAll() { clip_ = {0, 0, width_, height_}; }
    void SetClip(Clip c) { clip_ = c; }

    void Set(int x, int y, Rgb c) {
        if (x < clip_.left || y < clip_.top || x >= clip_.right || y >= clip_.bottom) return;
        std::uint8_t* p = &rgb_[(size_t(y) * width_ + x) * 3];
        p[0] = Byte(c.r);
        p[1] = Byte(c.g);
        p[2] = Byte(c.b);
    }
    Rgb Get(int x, int y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
        const std::uint8_t* p = &rgb_[(size_t(y) * width_ + x) * 3];
        return {double(p[0]), double(p[1]), double(p[2])};
    }
    void Blend(int x, int y, Rgb c, double alpha) {
        if (alpha <= 0) return;
        Set(x, y, alpha >= 1 ? c : Mix(Get(x, y), c, alpha));
    }
    const std::vector<std::uint8_t>& bytes() const { return rgb_; }

private:
    int width_, height_;
    std::vector<std::uint8_t> rgb_;
    Clip clip_{};
};

// Fills the shape inside(x, y) (continuous coordinates) over the box, 4 x 4 samples a pixel so
// that edges are smooth; colour(x, y) paints it.
void FillShape(Canvas& c, double x0, double y0, double x1, double y1,
               const std::function<bool(double, double)>& inside,
               const std::function<Rgb(double, double)>& colour) {
    const int left = int(std::floor(x0)), top = int(std::floor(y0));
    const int right = int(std::ceil(x1)), bottom = int(std::ceil(y1));
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    if (inside(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4)) ++hits;
            if (hits) c.Blend(x, y, colour(x + 0.5, y + 0.5), hits / 16.0);
        }
}

void Disc(Canvas& c, double cx, double cy, double r, const std::function<Rgb(double, double)>& colour) {
    FillShape(c, cx - r, cy - r, cx + r, cy + r,
              [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; },
              colour);
}
void Disc(Canvas& c, double cx, double cy, double r, Rgb colour) {
    Disc(c, cx, cy, r, [=](double, double) { return colour; });
}

// A ball lit from the top left.
void Ball(Canvas& c, double cx, double cy, double r, Rgb colour) {
    Disc(c, cx, cy, r, [=](double x, double y) {
        const double d = std::hypot(x - (cx - r * 0.35), y - (cy - r * 0.35)) / (r * 1.4);
        const double light = 1.25 - 0.75 * std::min(d, 1.0);
        return Mix(Scale(colour, light), Rgb{255, 255, 255}, std::max(0.0, 0.5 - d) * 0.9);
    });
}

using Points = std::vector<std::array<double, 2>>;

bool InPolygon(const Points& p, double x, double y) {
    bool in = false;
    for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
        if ((p[i][1] > y) != (p[j][1] > y) &&
            x < (p[j][0] - p[i][0]) * (y - p[i][1]) / (p[j][1] - p[i][1]) + p[i][0])
            in = !in;
    }
    return in;
}

void Polygon(Canvas& c, const Points& p, const std::function<Rgb(double, double)>& colour) {
    double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
    for (const auto& q : p) {
        x0 = std::min(x0, q[0]);
        y0 = std::min(y0, q[1]);
        x1 = std::max(x1, q[0]);
        y1 = std::max(y1, q[1]);
    }
    FillShape(c, x0, y0, x1, y1, [&](double x, double y) { return InPolygon(p, x, y); }, colour);
}
void Polygon(Canvas& c, const Points& p, Rgb colour) {
    Polygon(c, p, [=](double, double) { return colour; });
}

// Rotates and moves a shape given around (0, 0).
Points Place(const Points& p, double cx, double cy, double angle, double scale = 1) {
    Points out;
    const double s = std::sin(angle), co = std::cos(angle);
    for (const auto& q : p)
        out.push_back({cx + scale * (q[0] * co - q[1] * s), cy + scale * (q[0] * s + q[1] * co)});
    return out;
}

// A thick line with round ends.
void Line(Canvas& c, double xa, double ya, double xb, double yb, double width, Rgb colour) {
    const double r = width / 2;
    const double dx = xb - xa, dy = yb - ya, len2 = std::max(dx * dx + dy * dy, 1e-9);
    FillShape(c, std::min(xa, xb) - r, std::min(ya, yb) - r, std::max(xa, xb) + r, std::max(ya, yb) + r,
              [=](double x, double y) {
                  const double t = std::clamp(((x - xa) * dx + (y - ya) * dy) / len2, 0.0, 1.0);
                  const double ex = xa + t * dx - x, ey = ya + t * dy - y;
                  return ex * ex + ey * ey <= r * r;
              },
              [=](double, double) { return colour; });
}

// ---- deterministic noise ---------------------------------------------------------------------

std::uint32_t Hash(std::uint32_t a, std::uint32_t b = 0, std::uint32_t c = 0) {
    std::uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ (c + 0x165667B1u) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}
double Random01(std::uint32_t a, std::uint32_t b = 0, std::uint32_t c = 0) {
    return (Hash(a, b, c) & 0xFFFFFF) / double(0x1000000);
}

// Value noise that repeats every `period` pixels, so tiles made from it join seamlessly.
double PeriodicNoise(std::uint32_t seed, double x, double y, int cell, int period) {
    const int n = period / cell;
    const double gx = x / cell, gy = y / cell;
    const int ix = int(std::floor(gx)), iy = int(std::floor(gy));
    double fx = gx - ix, fy = gy - iy;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    auto at = [&](int i, int j) {
        return Random01(seed, std::uint32_t(((i % n) + n) % n), std::uint32_t(((j % n) + n) % n));
    };
    const double top = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * fx;
    const double bottom = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * fx;
    return top + (bottom - top) * fy;
}

// Sum of octaves 16, 8, 4 and 2 pixels over a 32-pixel period; about 0..1.
double Fractal(std::uint32_t seed, double x, double y) {
    double sum = 0, weight = 0, w = 1;
    for (int cell = 16; cell >= 2; cell /= 2, w *= 0.55) {
        sum += w * PeriodicNoise(seed + std::uint32_t(cell), x, y, cell, 32);
        weight += w;
    }
    return sum / weight;
}

// Distance to the nearest and second-nearest of a few random points, wrapping every 32 pixels.
struct CellDistance {
    double nearest, second;
    int id;
};
CellDistance Voronoi(std::uint32_t seed, int points, double x, double y) {
    CellDistance d{1e9, 1e9, 0};
    for (int i = 0; i < points; ++i) {
        const double px = Random01(seed, i, 1) * 32, py = Random01(seed, i, 2) * 32;
        for (int ox = -32; ox <= 32; ox += 32)
            for (int oy = -32; oy <= 32; oy += 32) {
                const double dist = std::hypot(x - px - ox, y - py - oy);
                if (dist < d.nearest) {
                    d.second = d.nearest;
                    d.nearest = dist;
                    d.id = i;
                } else if (dist < d.second) {
                    d.second = dist;
                }
            }
    }
    return d;
}

// ---- the pixel font --------------------------------------------------------------------------

// Characters 32 to 127, seven rows of five pixels each (bit 4 is the left column).
constexpr std::uint8_t kFont[96][7] = {
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, {0x04, 0x04, 0x04, 0x04, 0x04, 0x00, 0x04},
    {0x0A, 0x0A, 0x0A, 0x00, 0x00, 0x00, 0x00}, {0x0A, 0x0A, 0x1F, 0x0A, 0x1F, 0x0A, 0x0A},
    {0x04, 0x0F, 0x14, 0x0E, 0x05, 0x1E, 0x04}, {0x18, 0x19, 0x02, 0x04, 0x08, 0x13, 0x03},
    {0x0C, 0x12, 0x14, 0x08, 0x15, 0x12, 0x0D}, {0x0C, 0x04, 0x08, 0x00, 0x00, 0x00, 0x00},
    {0x02, 0x04, 0x08, 0x08, 0x08, 0x04, 0x02}, {0x08, 0x04, 0x02, 0x02, 0x02, 0x04, 0x08},
    {0x00, 0x04, 0x15, 0x0E, 0x15, 0x04, 0x00}, {0x00, 0x04, 0x04, 0x1F, 0x04, 0x04, 0x00},
    {0x00, 0x00, 0x00, 0x00, 0x0C, 0x04, 0x08}, {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00},
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}, {0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x00},
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
    {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}, {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x04, 0x08},
    {0x02, 0x04, 0x08, 0x10, 0x08, 0x04, 0x02}, {0x00, 0x00, 0x1F, 0x00, 0x1F, 0x00, 0x00},
    {0x08, 0x04, 0x02, 0x01, 0x02, 0x04, 0x08}, {0x0E, 0x11, 0x01, 0x02, 0x04, 0x00, 0x04},
    {0x0E, 0x11, 0x01, 0x0D, 0x15, 0x15, 0x0E}, {0x0E, 0x11, 0x11, 0x11, 0x1F, 0x11, 0x11},
    {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}, {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E},
    {0x1C, 0x12, 0x11, 0x11, 0x11, 0x12, 0x1C}, {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F},
    {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}, {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F},
    {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}, {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}, {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11},
    {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}, {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11},
    {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}, {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E},
    {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}, {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D},
    {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}, {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E},
    {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}, {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E},
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}, {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A},
    {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}, {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04},
    {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}, {0x0E, 0x08, 0x08, 0x08, 0x08, 0x08, 0x0E},
    {0x00, 0x10, 0x08, 0x04, 0x02, 0x01, 0x00}, {0x0E, 0x02, 0x02, 0x02, 0x02, 0x02, 0x0E},
    {0x04, 0x0A, 0x11, 0x00, 0x00, 0x00, 0x00}, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1F},
    {0x08, 0x04, 0x02, 0x00, 0x00, 0x00, 0x00}, {0x00, 0x00, 0x0E, 0x01, 0x0F, 0x11, 0x0F},
    {0x10, 0x10, 0x16, 0x19, 0x11, 0x11, 0x1E}, {0x00, 0x00, 0x0E, 0x10, 0x10, 0x11, 0x0E},
    {0x01, 0x01, 0x0D, 0x13, 0x11, 0x11, 0x0F}, {0x00, 0x00, 0x0E, 0x11, 0x1F, 0x10, 0x0E},
    {0x06, 0x09, 0x08, 0x1C, 0x08, 0x08, 0x08}, {0x00, 0x0F, 0x11, 0x11, 0x0F, 0x01, 0x0E},
    {0x10, 0x10, 0x16, 0x19, 0x11, 0x11, 0x11}, {0x04, 0x00, 0x0C, 0x04, 0x04, 0x04, 0x0E},
    {0x02, 0x00, 0x06, 0x02, 0x02, 0x12, 0x0C}, {0x10, 0x10, 0x12, 0x14, 0x18, 0x14, 0x12},
    {0x0C, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}, {0x00, 0x00, 0x1A, 0x15, 0x15, 0x11, 0x11},
    {0x00, 0x00, 0x16, 0x19, 0x11, 0x11, 0x11}, {0x00, 0x00, 0x0E, 0x11, 0x11, 0x11, 0x0E},
    {0x00, 0x00, 0x1E, 0x11, 0x1E, 0x10, 0x10}, {0x00, 0x00, 0x0D, 0x13, 0x0F, 0x01, 0x01},
    {0x00, 0x00, 0x16, 0x19, 0x10, 0x10, 0x10}, {0x00, 0x00, 0x0E, 0x10, 0x0E, 0x01, 0x1E},
    {0x08, 0x08, 0x1C, 0x08, 0x08, 0x09, 0x06}, {0x00, 0x00, 0x11, 0x11, 0x11, 0x13, 0x0D},
    {0x00, 0x00, 0x11, 0x11, 0x11, 0x0A, 0x04}, {0x00, 0x00, 0x11, 0x11, 0x15, 0x15, 0x0A},
    {0x00, 0x00, 0x11, 0x0A, 0x04, 0x0A, 0x11}, {0x00, 0x00, 0x11, 0x11, 0x0F, 0x01, 0x0E},
    {0x00, 0x00, 0x1F, 0x02, 0x04, 0x08, 0x1F}, {0x02, 0x04, 0x04, 0x08, 0x04, 0x04, 0x02},
    {0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}, {0x08, 0x04, 0x04, 0x02, 0x04, 0x04, 0x08},
    {0x00, 0x00, 0x08, 0x15, 0x02, 0x00, 0x00}, {0x1F, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1F},
};

bool GlyphPixel(char ch, int col, int row) {
    const int index = static_cast<unsigned char>(ch) - 32;
    if (index < 0 || index >= 96 || col < 0 || col >= 5 || row < 0 || row >= 7) return false;
    return (kFont[index][row] >> (4 - col)) & 1;
}

// Draws text with square pixels of `scale`, a shadow one pixel-square down right, colours
// graded from top to bottom.
void Text(Canvas& c, const std::string& text, int x, int y, int scale, Rgb top, Rgb bottom,
          Rgb shadow) {
    for (int pass = 0; pass < 2; ++pass)
        for (size_t i = 0; i < text.size(); ++i)
            for (int row = 0; row < 7; ++row)
                for (int col = 0; col < 5; ++col) {
                    if (!GlyphPixel(text[i], col, row)) continue;
                    const int off = pass == 0 ? std::max(1, scale / 2) : 0;
                    const int px = x + int(i) * 6 * scale + col * scale + off;
                    const int py = y + row * scale + off;
                    for (int sy = 0; sy < scale; ++sy)
                        for (int sx = 0; sx < scale; ++sx) {
                            const double t = (row * scale + sy) / double(7 * scale - 1);
                            c.Set(px + sx, py + sy, pass == 0 ? shadow : Mix(top, bottom, t));
                        }
                }
}

int TextWidth(const std::string& text, int scale) { return int(text.size()) * 6 * scale - scale; }

// ---- PNG output ------------------------------------------------------------------------------

struct PngOut {
    FILE* file;
    png_structp png;
    png_infop info;
    const Canvas* canvas;
};

bool WriteRows(PngOut* o) {
    if (setjmp(png_jmpbuf(o->png))) return false;
    png_init_io(o->png, o->file);
    png_set_compression_level(o->png, 9);
    png_set_IHDR(o->png, o->info, o->canvas->width(), o->canvas->height(), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(o->png, o->info);
    const size_t stride = size_t(o->canvas->width()) * 3;
    for (int y = 0; y < o->canvas->height(); ++y)
        png_write_row(o->png, const_cast<png_bytep>(o->canvas->bytes().data() + stride * y));
    png_write_end(o->png, nullptr);
    return true;
}

bool SavePng(const Canvas& canvas, const fs::path& path) {
    const fs::path temporary = path.string() + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    PngOut out{file, png, info, &canvas};
    bool ok = png && info && WriteRows(&out);
    png_destroy_write_struct(&png, &info);
    ok = std::fclose(file) == 0 && ok;
    std::error_code ec;
    if (ok) fs::rename(temporary, path, ec);
    if (!ok || ec) {
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}

// ---- BackgroundDefault.png -------------------------------------------------------------------

using TileFn = std::function<Rgb(int x, int y, int variant)>;

Rgb Grass(int x, int y, int v) {
    const double n = Fractal(100 + v, x, y);
    Rgb c = Mix(Hex(0x2F6B25), Hex(0x6DB845), n);
    c = Mix(c, Hex(0x8BA83A), 0.08 * (v % 3));  // some drier
    if (Random01(110 + v, x, y) > 0.93) c = Scale(c, 1.25);  // blades catching the light
    if (Random01(120 + v, x, y) > 0.95) c = Scale(c, 0.7);
    // Variants 3 to 8 carry flowers of different colours, one or two pixels each.
    static const std::uint32_t kFlowers[] = {0xF4F0E8, 0xF2D23C, 0xD8403A, 0xB07AE0, 0xF2F2F2, 0xF29A3C};
    if (v >= 3 && v <= 8) {
        for (int i = 0; i < 5; ++i) {
            const int fx = int(Random01(130 + v, i, 1) * 30) + 1, fy = int(Random01(130 + v, i, 2) * 30) + 1;
            if ((x == fx && std::abs(y - fy) <= 1) || (y == fy && std::abs(x - fx) <= 1))
                c = Hex(kFlowers[v - 3]);
            if (x == fx && y == fy) c = Hex(0xF6E27A);
        }
    }
    return c;
}

Rgb Water(int x, int y, int v) {
    // Wave crests travel across the variants, so they also serve as animation frames.
    const double phase = v * 2 * kPi / 10;
    const double wave = std::sin(2 * kPi * (x + 2 * y) / 32 + phase) +
                        0.6 * std::sin(2 * kPi * (3 * x - y) / 32 - phase * 2);
    const double n = Fractal(200, x, y);
    Rgb c = Mix(Hex(0x174C8C), Hex(0x2E7CC4), n);
    if (wave > 1.15) c = Mix(c, Hex(0xBFE4FF), (wave - 1.15) * 1.6);
    return c;
}

Rgb Cobbles(int x, int y, int v) {
    const CellDistance d = Voronoi(300 + v, 7, x + 0.5, y + 0.5);
    const double edge = d.second - d.nearest;
    const double shade = 0.8 + 0.35 * Random01(310 + v, d.id);
    static const std::uint32_t kStone[] = {0x8A8A86, 0x9A8E7C, 0x7F8790, 0x8C7F73, 0x9C9C94,
                                           0x7A7A74, 0xA09484, 0x858C86, 0x94897E, 0x8E9098};
    Rgb c = Scale(Hex(kStone[v]), shade * (0.85 + 0.3 * Fractal(320 + v, x, y)));
    if (edge < 1.6) c = Mix(Hex(0x2E2A26), c, edge / 1.6 * 0.5);
    else if (edge < 3) c = Scale(c, 0.85 + 0.05 * edge);
    return c;
}

Rgb Bricks(int x, int y, int v) {
    static const std::uint32_t kBrick[] = {0x9C3B2A, 0xB0522E, 0x7E2E24, 0x8A6A52, 0x6E6A66,
                                           0xA8743C, 0x5A4A66, 0xB44A3A, 0x8C8C7A, 0x704030};
    const int row = y / 8;
    const int shifted = x + (row % 2) * 8;
    const int brick = (shifted / 16) % 2;
    const bool mortar = y % 8 == 7 || shifted % 16 == 15;
    if (mortar) return Scale(Hex(0xB8B2A4), 0.85 + 0.15 * Random01(410 + v, x, y));
    const double shade = 0.82 + 0.3 * Random01(420 + v, row, brick);
    Rgb c = Scale(Hex(kBrick[v]), shade * (0.9 + 0.2 * Fractal(430 + v, x, y)));
    if (y % 8 == 0) c = Scale(c, 1.15);  // lit top edge
    return c;
}

Rgb Sand(int x, int y, int v) {
    const double ripple = std::sin(2 * kPi * (y + 4 * PeriodicNoise(500 + v, x, y, 16, 32)) / 8);
    Rgb c = Mix(Hex(0xC9A864), Hex(0xEBD394), Fractal(510 + v, x, y));
    c = Scale(c, 1 + 0.06 * ripple);
    if (Random01(520 + v, x, y) > 0.9) c = Scale(c, 0.88);
    if (v >= 6) {  // shells and pebbles
        const double px = 6 + 20 * Random01(530 + v, 1), py = 6 + 20 * Random01(530 + v, 2);
        if (std::hypot(x - px, (y - py) * 1.3) < 2.2) c = Hex(v % 2 ? 0xF3E7DA : 0x9A8A78);
    }
    return c;
}

Rgb Earth(int x, int y, int v) {
    Rgb c = Mix(Hex(0x4E3524), Hex(0x8A6240), Fractal(600 + v, x, y));
    const CellDistance d = Voronoi(610 + v, 5, x + 0.5, y + 0.5);
    if (d.nearest < 2.2 + Random01(620 + v, d.id)) c = Mix(Hex(0x9A9288), c, d.nearest / 3.2);
    if (v >= 5 && v <= 7) c = Mix(c, Hex(0x4B6B2E), std::max(0.0, Fractal(630 + v, x, y) - 0.55) * 2.5);
    return c;
}

Rgb Planks(int x, int y, int v) {
    static const std::uint32_t kWood[] = {0x8B5A2B, 0xA0693A, 0x6E4424, 0x9C7A4E, 0x7A5230,
                                          0xB08050, 0x5E3A22, 0x8E6A44, 0xA47444, 0x744C2C};
    const int plank = x / 8;
    const double grain = std::sin(2 * kPi * (x + 6 * PeriodicNoise(700 + v, x, y, 8, 32)) / 4);
    Rgb c = Scale(Hex(kWood[v]), 0.85 + 0.25 * Random01(710 + v, plank) + 0.06 * grain);
    if (x % 8 == 7) c = Scale(c, 0.45);  // gaps between planks
    else if (x % 8 == 0) c = Scale(c, 1.12);
    const int join = int(Random01(720 + v, plank) * 32);
    if (y == join) c = Scale(c, 0.5);
    if (y == (join + 2) % 32 && x % 8 == 3) c = Hex(0x3A3A3A);  // nails
    return c;
}

Rgb Lava(int x, int y, int v) {
    const CellDistance d = Voronoi(800 + v / 2, 6, x + 0.5, y + 0.5);
    const double crack = d.second - d.nearest;
    const double pulse = 0.7 + 0.3 * std::sin(v * 2 * kPi / 10 + Fractal(810, x, y) * 6);
    Rgb crust = Mix(Hex(0x2A1410), Hex(0x4A2418), Fractal(820 + v, x, y));
    if (crack < 3.5) {
        const double t = 1 - crack / 3.5;
        crust = Mix(crust, Mix(Hex(0xD2401A), Hex(0xFFD25A), t * pulse), std::min(1.0, t * 1.6));
    }
    return crust;
}

Rgb Snow(int x, int y, int v) {
    Rgb c = Mix(Hex(0xC8D8E8), Hex(0xF6FAFF), Fractal(900 + v, x, y));
    if (v >= 5) {  // ice: smoother, bluer, with cracks
        c = Mix(Hex(0x9CC8E4), Hex(0xD8EEFA), Fractal(910 + v, x, y));
        const CellDistance d = Voronoi(920 + v, 4, x + 0.5, y + 0.5);
        if (d.second - d.nearest < 0.8) c = Hex(0xF4FBFF);
    }
    if (Random01(930 + v, x, y) > 0.97) c = Hex(0xFFFFFF);  // sparkles
    return c;
}

Rgb Metal(int x, int y, int v) {
    static const std::uint32_t kMetal[] = {0x7C8288, 0x8A8F94, 0x6A7078, 0x909090, 0x787064,
                                           0x5E6E7E, 0x8C8478, 0x707C70, 0x9298A0, 0x686868};
    Rgb c = Scale(Hex(kMetal[v]), 0.92 + 0.1 * Fractal(1000 + v, x, y));
    const int px = x % 16, py = y % 16;
    if (px == 0 || py == 0) c = Scale(c, 1.3);       // bevel, lit edges
    if (px == 15 || py == 15) c = Scale(c, 0.55);    // bevel, shaded edges
    const bool rivet = (px == 3 || px == 12) && (py == 3 || py == 12);
    if (rivet) c = Scale(c, 1.4);
    if ((px == 4 || px == 13) && (py == 4 || py == 13)) c = Scale(c, 0.6);
    if (v % 3 == 1 && (x + y) % 6 == 0 && px > 1 && py > 1) c = Scale(c, 1.08);  // tread
    if (v % 3 == 2 && std::abs(x - y) % 16 < 2 && px && py) c = Mix(c, Hex(0xC8A828), 0.6);  // hazard
    return c;
}

Canvas MakeBackground() {
    const TileFn kinds[10] = {Grass, Water, Cobbles, Bricks, Sand, Earth, Planks, Lava, Snow, Metal};
    Canvas c(320, 320);
    for (int row = 0; row < 10; ++row)
        for (int col = 0; col < 10; ++col)
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x) c.Set(col * 32 + x, row * 32 + y, kinds[row](x, y, col));
    return c;
}

// ---- SpritesDefault.png ----------------------------------------------------------------------

// Clips drawing to one cell, leaving its top row and left column black.
void UseCell(Canvas& c, int col, int row) { c.SetClip({col * 32 + 1, row * 32 + 1, col * 32 + 32, row * 32 + 32}); }

void PlayerShip(Canvas& c, double cx, double cy, int frame) {
    const double lean = frame < 4 ? 0 : frame < 6 ? -1 : 1;  // frames 4, 5 bank left, 6, 7 right
    const double squeeze = lean == 0 ? 1 : 0.8;
    // Engine flames flicker over the frames.
    const double flame = 4 + 2.5 * ((frame * 5) % 4) / 3.0;
    for (double side : {-4.0, 4.0})
        Polygon(c, Place({{-2, 0}, {2, 0}, {0, flame}}, cx + side * squeeze, cy + 10, 0),
                [&](double, double y) { return Mix(Hex(0xFFF0A0), Hex(0xFF5A1E), (y - cy - 10) / flame); });
    const Points hull = {{0, -14}, {4, -4}, {13, 6}, {13, 9}, {4, 7}, {3, 10}, {-3, 10}, {-4, 7}, {-13, 9}, {-13, 6}, {-4, -4}};
    Points body;
    for (const auto& p : hull) body.push_back({cx + p[0] * squeeze + lean * (p[1] > 0 ? 1 : 0), cy + p[1]});
    Polygon(c, body, [&](double x, double) {
        const double t = (x - (cx - 13)) / 26;
        return Mix(Hex(0xE8ECF4), Hex(0x6A7A9A), std::abs(t - 0.4 + lean * 0.2) * 1.4);
    });
    Polygon(c, Place({{-1.5, 0}, {1.5, 0}, {1, 8}, {-1, 8}}, cx - 10 * squeeze, cy, 0), Hex(0xD23C3C));
    Polygon(c, Place({{-1.5, 0}, {1.5, 0}, {1, 8}, {-1, 8}}, cx + 10 * squeeze, cy, 0), Hex(0xD23C3C));
    Disc(c, cx + lean, cy - 3, 2.6, [&](double x, double y) {
        return Mix(Hex(0x9AE6FF), Hex(0x1E5A9C), std::hypot(x - cx - lean + 1, y - cy + 4) / 3.5);
    });
}

void Saucer(Canvas& c, double cx, double cy, int frame) {
    Disc(c, cx, cy - 3, 6, [&](double x, double y) {
        return Mix(Hex(0xC8F4C0), Hex(0x3A9A4A), std::hypot(x - cx + 2, y - cy + 6) / 8);
    });
    FillShape(c, cx - 14, cy - 4, cx + 14, cy + 6,
              [&](double x, double y) { return std::pow((x - cx) / 14, 2) + std::pow((y - cy - 1) / 5, 2) <= 1; },
              [&](double, double y) { return Mix(Hex(0xD0D4DC), Hex(0x58606E), (y - cy + 4) / 10); });
    for (int i = 0; i < 5; ++i) {
        const double lx = cx - 10 + i * 5;
        const bool lit = (i + frame) % 4 == 0;
        Disc(c, lx, cy + 2, 1.4, lit ? Hex(0xFFE65A) : Hex(0x8A5A2A));
    }
}

void Bug(Canvas& c, double cx, double cy, int frame) {
    const double flap = std::sin(frame * 2 * kPi / 8);
    for (double side : {-1.0, 1.0}) {
        const Points wing = {{0, 0}, {10, -6 - 4 * flap}, {13, 1 - 3 * flap}, {4, 6}};
        Points w;
        for (const auto& p : wing) w.push_back({cx + side * p[0], cy - 2 + p[1]});
        Polygon(c, w, [&](double, double) { return Mix(Hex(0xA0D8FF), Hex(0x6A4AC8), 0.4 + 0.2 * flap); });
    }
    FillShape(c, cx - 5, cy - 10, cx + 5, cy + 12,
              [&](double x, double y) { return std::pow((x - cx) / 5, 2) + std::pow((y - cy - 1) / 11, 2) <= 1; },
              [&](double, double y) { return ((int(y - cy) + 20) / 4) % 2 ? Hex(0xE0A020) : Hex(0x5A3A10); });
    Disc(c, cx - 2, cy - 7, 1.6, Hex(0xFF3030));
    Disc(c, cx + 2, cy - 7, 1.6, Hex(0xFF3030));
    Line(c, cx - 1, cy - 10, cx - 4, cy - 14, 1, Hex(0xC0C0C0));
    Line(c, cx + 1, cy - 10, cx + 4, cy - 14, 1, Hex(0xC0C0C0));
}

void Shot(Canvas& c, double cx, double cy, int kind) {
    switch (kind) {
    case 0:  // laser bolt
        Line(c, cx, cy - 9, cx, cy + 9, 4, Hex(0x3AC8FF));
        Line(c, cx, cy - 8, cx, cy + 8, 1.6, Hex(0xE8FAFF));
        break;
    case 1:  // twin bolts
        for (double dx : {-5.0, 5.0}) {
            Line(c, cx + dx, cy - 7, cx + dx, cy + 7, 3, Hex(0x50FF70));
            Line(c, cx + dx, cy - 6, cx + dx, cy + 6, 1, Hex(0xEAFFEA));
        }
        break;
    case 2:  // plasma ball
        Disc(c, cx, cy, 7, [&](double x, double y) {
            return Mix(Hex(0xFFFFFF), Hex(0xC040FF), std::hypot(x - cx, y - cy) / 7);
        });
        break;
    case 3:  // rocket
        Polygon(c, Place({{0, -10}, {3, -5}, {3, 6}, {5, 9}, {-5, 9}, {-3, 6}, {-3, -5}}, cx, cy, 0), Hex(0xD8D8D8));
        Polygon(c, Place({{0, -10}, {3, -5}, {-3, -5}}, cx, cy, 0), Hex(0xE03030));
        Polygon(c, Place({{-2, 9}, {2, 9}, {0, 14}}, cx, cy, 0), Hex(0xFFB040));
        break;
    case 4:  // spread shot
        for (int i = -1; i <= 1; ++i) Line(c, cx + i * 2, cy + 6, cx + i * 7, cy - 8, 2.5, Hex(0xFFE040));
        break;
    case 5:  // enemy pellet
        Ball(c, cx, cy, 4.5, Hex(0xFF4A3A));
        break;
    case 6:  // enemy needle
        Polygon(c, Place({{0, 10}, {2.5, -2}, {0, -8}, {-2.5, -2}}, cx, cy, 0), Hex(0xFF8A2A));
        break;
    default:  // enemy ring
        Disc(c, cx, cy, 7, Hex(0xFF50B0));
        Disc(c, cx, cy, 4, Hex(0x000000));
        break;
    }
}

void Explosion(Canvas& c, double cx, double cy, int frame) {
    const double t = frame / 7.0;
    const double r = 3 + 11 * std::sqrt(t);
    const double heat = 1 - t;
    // Ragged outline from noise around the circle.
    FillShape(c, cx - 15, cy - 15, cx + 15, cy + 15,
              [&](double x, double y) {
                  const double a = std::atan2(y - cy, x - cx);
                  const double wobble = 1 + 0.25 * std::sin(a * 7 + frame) * std::sin(a * 3 - frame * 0.5);
                  const double d = std::hypot(x - cx, y - cy);
                  const double hole = frame >= 5 ? r * (frame - 4) * 0.22 : 0;  // burns out as a ring
                  return d <= r * wobble && d >= hole;
              },
              [&](double x, double y) {
                  const double d = std::hypot(x - cx, y - cy) / r;
                  const Rgb core = Mix(Hex(0xFFFFD0), Hex(0xFF9A20), std::min(1.0, d * 1.2));
                  const Rgb edge = Mix(core, Hex(0xB02010), std::min(1.0, d));
                  return Mix(Mix(Hex(0x5A4A44), Hex(0x2A2220), d), edge, std::min(1.0, heat * 1.5));
              });
    for (int i = 0; i < 6; ++i) {  // sparks
        const double a = i * kPi / 3 + frame * 0.3;
        const double d = r + 2 + frame;
        if (frame > 0 && frame < 7) Disc(c, cx + std::cos(a) * d, cy + std::sin(a) * d, 1.2, Hex(0xFFE080));
    }
}

void Capsule(Canvas& c, double cx, double cy, int kind) {
    static const std::uint32_t kColours[] = {0x2E7CE0, 0xE03A3A, 0x3AB04A, 0xE0A020, 0x9A4AE0, 0x20B0B0, 0xE06AB0, 0x808890};
    static const char kLetters[] = "PSLB+1?*";
    const Rgb colour = Hex(kColours[kind]);
    FillShape(c, cx - 12, cy - 8, cx + 12, cy + 8,
              [&](double x, double y) {
                  const double dx = std::max(0.0, std::abs(x - cx) - 4);
                  return dx * dx + (y - cy) * (y - cy) <= 64;
              },
              [&](double, double y) {
                  const double t = (y - cy + 8) / 16;
                  return Mix(Mix(colour, Rgb{255, 255, 255}, 0.6), Scale(colour, 0.55), t);
              });
    c.Set(int(cx) - 5, int(cy) - 5, Hex(0xFFFFFF));
    const char letter = kLetters[kind];
    for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 5; ++col)
            if (GlyphPixel(letter, col, row)) {
                c.Set(int(cx) - 2 + col + 1, int(cy) - 3 + row + 1, Scale(colour, 0.3));
                c.Set(int(cx) - 2 + col, int(cy) - 3 + row, Hex(0xFFFFFF));
            }
}

void Asteroid(Canvas& c, double cx, double cy, int frame) {
    Points rock;
    for (int i = 0; i < 11; ++i) {
        const double a = i * 2 * kPi / 11;
        const double r = 10 + 3.5 * Random01(1200, i);
        rock.push_back({std::cos(a) * r, std::sin(a) * r});
    }
    const double angle = frame * 2 * kPi / 8 / 11 * 2;  // a slow turn over the eight frames
    Polygon(c, Place(rock, cx, cy, angle), [&](double x, double y) {
        const double light = 1.2 - 0.6 * std::hypot(x - cx + 5, y - cy + 5) / 20;
        return Scale(Mix(Hex(0x7A6A5A), Hex(0x9A8A76), Random01(1210, int(x) / 3, int(y) / 3)), light);
    });
    for (int i = 0; i < 3; ++i) {  // craters turn with the rock
        const double a = angle + i * 2.1, d = 3 + 2.5 * i;
        Disc(c, cx + std::cos(a) * d, cy + std::sin(a) * d, 2 - i * 0.3, Hex(0x4E443A));
    }
}

void Missile(Canvas& c, double cx, double cy, int frame) {
    const double angle = frame * kPi / 4;  // eight headings, 45 degrees apart, clockwise from up
    Polygon(c, Place({{-3, 9}, {3, 9}, {0, 15}}, cx, cy, angle), Hex(0xFFA030));
    Polygon(c, Place({{0, -13}, {3, -7}, {3, 8}, {-3, 8}, {-3, -7}}, cx, cy, angle), Hex(0xC8CCD4));
    Polygon(c, Place({{0, -13}, {3, -7}, {-3, -7}}, cx, cy, angle), Hex(0xD82A2A));
    Polygon(c, Place({{3, 2}, {7, 8}, {3, 8}}, cx, cy, angle), Hex(0x6A7080));
    Polygon(c, Place({{-3, 2}, {-7, 8}, {-3, 8}}, cx, cy, angle), Hex(0x6A7080));
}

Canvas MakeSprites() {
    Canvas c(256, 256);
    for (int col = 0; col < 8; ++col) {
        const double cx = col * 32 + 16.5, cy(16.5);
        const auto cell = [&](int row) {
            UseCell(c, col, row);
            return row * 32 + cy;
        };
        PlayerShip(c, cx, cell(0), col);
        Saucer(c, cx, cell(1), col);
        Bug(c, cx, cell(2), col);
        Shot(c, cx, cell(3), col);
        Explosion(c, cx, cell(4), col);
        Capsule(c, cx, cell(5), col);
        Asteroid(c, cx, cell(6), col);
        Missile(c, cx, cell(7), col);
    }
    c.ClipAll();
    return c;
}

// ---- SplashDefault.png -----------------------------------------------------------------------

Canvas MakeSplash() {
    Canvas c(640, 480);
    for (int y = 0; y < 480; ++y) {
        const double t = y / 479.0;
        const Rgb sky = t < 0.6 ? Mix(Hex(0x060818), Hex(0x2A1650), t / 0.6)
                                : Mix(Hex(0x2A1650), Hex(0xE0683A), (t - 0.6) / 0.4);
        for (int x = 0; x < 640; ++x) c.Set(x, y, sky);
    }
    for (int i = 0; i < 260; ++i) {  // stars, fewer towards the horizon
        const int x = int(Random01(2000, i, 1) * 640), y = int(std::pow(Random01(2000, i, 2), 1.6) * 330);
        const double b = 0.4 + 0.6 * Random01(2000, i, 3);
        c.Set(x, y, Scale(Hex(0xFFFFFF), b));
        if (b > 0.9) {
            for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) c.Blend(x + dx, y + dy, Hex(0xFFFFFF), 0.4);
        }
    }
    // A ringed planet.
    const double px = 520, py = 100, pr = 58;
    auto ring = [&](bool front) {
        FillShape(c, px - 120, py - 40, px + 120, py + 40,
                  [&](double x, double y) {
                      const double rx = x - px, ry = (y - py + rx * 0.25) * 3.2;
                      const double d = std::hypot(rx, ry);
                      return d > 82 && d < 112 && ((ry > 0) == front);
                  },
                  [&](double x, double y) { return Mix(Hex(0xE8C89A), Hex(0x8A6A52), std::fmod(std::hypot(x - px, (y - py) * 3), 9) / 12); });
    };
    ring(false);
    Disc(c, px, py, pr, [&](double x, double y) {
        const double band = std::sin((y - py + (x - px) * 0.25) / 7);
        const Rgb base = Mix(Hex(0xD89A5A), Hex(0xA85A3A), 0.5 + 0.5 * band);
        const double light = 1.15 - 0.9 * std::min(1.0, std::hypot(x - px + 30, y - py + 30) / (pr * 1.8));
        return Scale(base, light);
    });
    ring(true);
    // Mountains against the sunset.
    for (int layer = 0; layer < 2; ++layer) {
        const Rgb colour = layer ? Hex(0x0C0A18) : Hex(0x281838);
        for (int x = 0; x < 640; ++x) {
            const double h = 380 + layer * 40 - 50 * PeriodicNoise(2100 + layer, x, 0, 80, 640) -
                             22 * PeriodicNoise(2110 + layer, x, 0, 20, 640);
            for (int y = int(h); y < 480; ++y) c.Set(x, y, colour);
        }
    }
    // The player's ship climbing from the bottom left, with its trail.
    for (int i = 0; i < 40; ++i)
        Disc(c, 120 - i * 2.2, 330 + i * 3.4, 6 - i * 0.13, Mix(Hex(0xFFE0A0), Hex(0xC04A20), i / 40.0));
    const Points ship = {{0, -14}, {4, -4}, {13, 6}, {13, 9}, {4, 7}, {3, 10}, {-3, 10}, {-4, 7}, {-13, 9}, {-13, 6}, {-4, -4}};
    Polygon(c, Place(ship, 128, 318, 0.55, 3.2), [&](double x, double y) {
        return Mix(Hex(0xF0F4FA), Hex(0x5A6A8A), std::clamp((x - 100 + (y - 300) * 0.5) / 70, 0.0, 1.0));
    });
    Disc(c, 128 + std::sin(0.55) * 9, 318 - std::cos(0.55) * 9, 7, Hex(0x5AC8F0));
    // Title and subtitle.
    const std::string title = "QUILLBOX", subtitle = "MAKE YOUR OWN GAMES";
    Text(c, title, (640 - TextWidth(title, 9)) / 2, 150, 9, Hex(0xFFF6C0), Hex(0xF0901E), Hex(0x1A0A28));
    Text(c, subtitle, (640 - TextWidth(subtitle, 3)) / 2, 228, 3, Hex(0xE8F0FF), Hex(0x9AB4FF), Hex(0x0A0A20));
    return c;
}

// ---- FontDefault16.PNG -----------------------------------------------------------------------

Canvas MakeFont() {
    Canvas c(96 * 16, 16);
    for (int ch = 32; ch < 128; ++ch) {
        const int left = (ch - 32) * 16;
        c.SetClip({left, 0, left + 16, 16});
        // Glyph pixels doubled: 10 x 14 at (3, 1), a dark shadow one pixel down right.
        Text(c, std::string(1, char(ch)), left + 3, 1, 2, Hex(0xFFFFFF), Hex(0xFFC840), Hex(0x503C28));
    }
    c.ClipAll();
    return c;
}

// ---- test.mp3 --------------------------------------------------------------------------------

bool WriteWav(const fs::path& path, const std::vector<std::int16_t>& samples, int rate) {
    std::ofstream out(path, std::ios::binary);
    auto u32 = [&](std::uint32_t v) { for (int i = 0; i < 4; ++i) out.put(char(v >> (8 * i))); };
    auto u16 = [&](std::uint16_t v) { out.put(char(v)); out.put(char(v >> 8)); };
    const std::uint32_t bytes = std::uint32_t(samples.size() * 2);
    out.write("RIFF", 4);
    u32(36 + bytes);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(std::uint32_t(rate));
    u32(std::uint32_t(rate * 2));
    u16(2);
    u16(16);
    out.write("data", 4);
    u32(bytes);
    for (std::int16_t s : samples) u16(std::uint16_t(s));
    return bool(out);
}

// A rising three-note chime (C6, E6, G6) with bell-like partials, one second long.
std::vector<std::int16_t> Chime(int rate) {
    std::vector<double> mix(size_t(rate), 0.0);
    const double notes[] = {1046.5, 1318.5, 1568.0};
    for (int n = 0; n < 3; ++n) {
        const size_t start = size_t(n * rate * 0.18);
        for (size_t i = start; i < mix.size(); ++i) {
            const double t = double(i - start) / rate;
            const double env = std::exp(-t * 5.0) * std::min(1.0, t * 400);
            mix[i] += env * (std::sin(2 * kPi * notes[n] * t) + 0.35 * std::sin(2 * kPi * notes[n] * 2.01 * t) +
                             0.12 * std::sin(2 * kPi * notes[n] * 3.98 * t));
        }
    }
    std::vector<std::int16_t> samples;
    for (size_t i = 0; i < mix.size(); ++i) {
        const double fade = std::min(1.0, double(mix.size() - i) / (rate * 0.05));
        samples.push_back(std::int16_t(std::lround(std::clamp(mix[i] * 0.3 * fade, -1.0, 1.0) * 32000)));
    }
    return samples;
}

// 1 written, 0 lame missing (nothing changed), -1 failure.
int MakeMp3(const fs::path& folder) {
    const int rate = 44100;
    const fs::path wav = folder / "test.mp3.wav";
    const fs::path temporary = folder / "test.mp3.tmp";
    if (!WriteWav(wav, Chime(rate), rate)) return -1;
    std::string in = wav.string(), out = temporary.string();
    std::vector<char*> argv;
    std::string args[] = {"lame", "--quiet", "-m", "m", "-b", "96", "--noreplaygain", in, out};
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    int status = 0;
    const bool started = posix_spawnp(&pid, "lame", nullptr, nullptr, argv.data(), environ) == 0;
    const bool ok = started && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
                    WEXITSTATUS(status) == 0;
    std::error_code ec;
    fs::remove(wav, ec);
    if (!ok) {
        fs::remove(temporary, ec);
        return started ? -1 : 0;
    }
    fs::rename(temporary, folder / "test.mp3", ec);
    return ec ? -1 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_assets OUTPUT_FOLDER\n");
        return 2;
    }
    const fs::path folder = argv[1];
    std::error_code ec;
    fs::create_directories(folder, ec);
    int failures = 0;
    const std::pair<const char*, std::function<Canvas()>> pictures[] = {
        {"BackgroundDefault.png", MakeBackground},
        {"SpritesDefault.png", MakeSprites},
        {"SplashDefault.png", MakeSplash},
        {"FontDefault16.PNG", MakeFont},
    };
    for (const auto& [name, make] : pictures) {
        if (!SavePng(make(), folder / name)) {
            std::fprintf(stderr, "make_assets: cannot write %s\n", (folder / name).c_str());
            ++failures;
        }
    }
    switch (MakeMp3(folder)) {
    case 0: std::fprintf(stderr, "make_assets: lame not found, test.mp3 left as it is\n"); break;
    case -1:
        std::fprintf(stderr, "make_assets: cannot make test.mp3\n");
        ++failures;
        break;
    default: break;
    }
    return failures ? 1 : 0;
}
