// make_swf: writes the small SWF movie that stands in for a game engine.
//
//   make_swf OUTPUT WIDTH HEIGHT [RRGGBB]
//
// The engine templates shipped in assets/ are such movies: they stand in for the real game
// engines, which users who own them drop into the application folder. A build appends its data
// behind the movie, which players ignore, so a game built on a stand-in is a well-formed file.
// The movie's one frame holds a short ActionScript program that reads that appended data back
// and shows the project: its name, game type, item count and pictures.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

class BitWriter {
public:
    void bits(std::uint32_t value, int count) {
        for (int i = count - 1; i >= 0; --i) {
            current_ = static_cast<std::uint8_t>((current_ << 1) | ((value >> i) & 1u));
            if (++used_ == 8) flush();
        }
    }
    void align() {
        if (used_ == 0) return;
        current_ = static_cast<std::uint8_t>(current_ << (8 - used_));
        flush();
    }
    std::vector<std::uint8_t> bytes;

private:
    void flush() {
        bytes.push_back(current_);
        current_ = 0;
        used_ = 0;
    }
    std::uint8_t current_ = 0;
    int used_ = 0;
};

// Bits needed for a signed field holding every value (SWF RECT fields are signed).
int SignedBits(std::int32_t value) {
    int n = 1;
    while (n < 31 && (value >= (1 << (n - 1)) || value < -(1 << (n - 1)))) ++n;
    return n;
}

void U16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void U32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A tag, with a short header for payloads below 63 bytes and a long one otherwise.
void Tag(std::vector<std::uint8_t>& out, std::uint32_t code, const std::vector<std::uint8_t>& body) {
    if (body.size() < 63) {
        U16(out, (code << 6) | static_cast<std::uint32_t>(body.size()));
    } else {
        U16(out, (code << 6) | 63u);
        U32(out, static_cast<std::uint32_t>(body.size()));
    }
    out.insert(out.end(), body.begin(), body.end());
}

// --- A small assembler for ActionScript 1/2 bytecode ------------------------------------------
//
// Expressions and statements are functions that append actions; labels are resolved when the
// block is finished. Only what the stand-in needs is here.

struct Code;
using Expr = std::function<void(Code&)>;
using Stmts = std::vector<std::function<void(Code&)>>;

struct Code {
    std::vector<std::uint8_t> bytes;
    std::vector<std::pair<std::size_t, int>> fixups;  // offset field position, label
    std::vector<long> labels;

    void op(std::uint8_t code) { bytes.push_back(code); }
    void opWith(std::uint8_t code, const std::vector<std::uint8_t>& data) {
        bytes.push_back(code);
        U16(bytes, static_cast<std::uint32_t>(data.size()));
        bytes.insert(bytes.end(), data.begin(), data.end());
    }
    void pushString(const std::string& text) {
        std::vector<std::uint8_t> data{0};
        data.insert(data.end(), text.begin(), text.end());
        data.push_back(0);
        opWith(0x96, data);
    }
    void pushInt(std::int32_t value) {
        std::vector<std::uint8_t> data{7};
        U32(data, static_cast<std::uint32_t>(value));
        opWith(0x96, data);
    }
    void pushSpecial(std::uint8_t type) { opWith(0x96, {type}); }  // 2 null, 3 undefined
    int newLabel() {
        labels.push_back(-1);
        return static_cast<int>(labels.size() - 1);
    }
    void place(int label) { labels[static_cast<std::size_t>(label)] = static_cast<long>(bytes.size()); }
    void branch(std::uint8_t code, int label) {  // 0x99 jump, 0x9D jump if true
        bytes.push_back(code);
        U16(bytes, 2);
        fixups.emplace_back(bytes.size(), label);
        U16(bytes, 0);
    }
    std::vector<std::uint8_t> finish() {
        for (const auto& [at, label] : fixups) {
            const long offset = labels[static_cast<std::size_t>(label)] - static_cast<long>(at + 2);
            bytes[at] = static_cast<std::uint8_t>(offset & 0xFF);
            bytes[at + 1] = static_cast<std::uint8_t>((offset >> 8) & 0xFF);
        }
        return bytes;
    }
};

Expr Str(std::string text) { return [text](Code& c) { c.pushString(text); }; }
Expr Int(std::int32_t v) { return [v](Code& c) { c.pushInt(v); }; }
Expr Undefined() { return [](Code& c) { c.pushSpecial(3); }; }
Expr Var(std::string name) { return [name](Code& c) { c.pushString(name); c.op(0x1C); }; }
Expr Member(Expr object, std::string name) {
    return [object, name](Code& c) { object(c); c.pushString(name); c.op(0x4E); };
}
Expr Index(Expr object, Expr key) {
    return [object, key](Code& c) { object(c); key(c); c.op(0x4E); };
}
void PushArgs(Code& c, const std::vector<Expr>& args) {
    for (auto it = args.rbegin(); it != args.rend(); ++it) (*it)(c);
    c.pushInt(static_cast<std::int32_t>(args.size()));
}
Expr CallM(Expr object, std::string method, std::vector<Expr> args) {
    return [=](Code& c) { PushArgs(c, args); object(c); c.pushString(method); c.op(0x52); };
}
Expr CallF(std::string name, std::vector<Expr> args) {
    return [=](Code& c) { PushArgs(c, args); c.pushString(name); c.op(0x3D); };
}
Expr New(std::string type, std::vector<Expr> args) {
    return [=](Code& c) { PushArgs(c, args); c.pushString(type); c.op(0x40); };
}
Expr NewM(Expr object, std::string type, std::vector<Expr> args) {
    return [=](Code& c) { PushArgs(c, args); object(c); c.pushString(type); c.op(0x53); };
}
Expr Bin(std::uint8_t code, Expr a, Expr b) {
    return [=](Code& c) { a(c); b(c); c.op(code); };
}
Expr Add(Expr a, Expr b) { return Bin(0x47, a, b); }
Expr Sub(Expr a, Expr b) { return Bin(0x0B, a, b); }
Expr Mul(Expr a, Expr b) { return Bin(0x0C, a, b); }
Expr Div(Expr a, Expr b) { return Bin(0x0D, a, b); }
Expr Less(Expr a, Expr b) { return Bin(0x48, a, b); }
Expr Greater(Expr a, Expr b) { return Bin(0x67, a, b); }
Expr Eq(Expr a, Expr b) { return Bin(0x49, a, b); }
Expr And(Expr a, Expr b) { return Bin(0x60, a, b); }
Expr Or(Expr a, Expr b) { return Bin(0x61, a, b); }
Expr Shl(Expr a, Expr b) { return Bin(0x63, a, b); }
Expr Shr(Expr a, Expr b) { return Bin(0x64, a, b); }
Expr Not(Expr a) { return [a](Code& c) { a(c); c.op(0x12); }; }
Expr Floor(Expr a) { return CallM(Var("Math"), "floor", {a}); }

// A function value; its parameters and locals live in its own scope.
Expr Function(std::vector<std::string> params, Stmts body) {
    return [=](Code& c) {
        Code inner;
        for (const auto& s : body) s(inner);
        const std::vector<std::uint8_t> code = inner.finish();
        std::vector<std::uint8_t> data{0};  // anonymous
        U16(data, static_cast<std::uint32_t>(params.size()));
        for (const std::string& p : params) {
            data.insert(data.end(), p.begin(), p.end());
            data.push_back(0);
        }
        U16(data, static_cast<std::uint32_t>(code.size()));
        c.opWith(0x9B, data);
        c.bytes.insert(c.bytes.end(), code.begin(), code.end());
    };
}

std::function<void(Code&)> Set(std::string name, Expr value) {
    return [=](Code& c) { c.pushString(name); value(c); c.op(0x1D); };
}
std::function<void(Code&)> Local(std::string name, Expr value) {
    return [=](Code& c) { c.pushString(name); value(c); c.op(0x3C); };
}
std::function<void(Code&)> SetM(Expr object, Expr key, Expr value) {
    return [=](Code& c) { object(c); key(c); value(c); c.op(0x4F); };
}
std::function<void(Code&)> Do(Expr e) {
    return [=](Code& c) { e(c); c.op(0x17); };
}
// trace(), and the same line on the page's console through ExternalInterface.
std::function<void(Code&)> Trace(Expr e) {
    return [=](Code& c) {
        e(c);
        c.op(0x26);
        PushArgs(c, {Str("console.log"), e});
        Member(Member(Var("flash"), "external"), "ExternalInterface")(c);
        c.pushString("call");
        c.op(0x52);
        c.op(0x17);
    };
}
std::function<void(Code&)> Return(Expr e) {
    return [=](Code& c) { e(c); c.op(0x3E); };
}
std::function<void(Code&)> If(Expr condition, Stmts then, Stmts otherwise = {}) {
    return [=](Code& c) {
        const int elseLabel = c.newLabel(), end = c.newLabel();
        condition(c);
        c.op(0x12);
        c.branch(0x9D, elseLabel);
        for (const auto& s : then) s(c);
        c.branch(0x99, end);
        c.place(elseLabel);
        for (const auto& s : otherwise) s(c);
        c.place(end);
    };
}
std::function<void(Code&)> While(Expr condition, Stmts body) {
    return [=](Code& c) {
        const int top = c.newLabel(), end = c.newLabel();
        c.place(top);
        condition(c);
        c.op(0x12);
        c.branch(0x9D, end);
        for (const auto& s : body) s(c);
        c.branch(0x99, top);
        c.place(end);
    };
}
std::function<void(Code&)> Inc(std::string name, Expr by = Int(1)) { return Set(name, Add(Var(name), by)); }

// The build's scrambling of the project text, for the keys the stand-in looks for.
std::string Scramble(std::string text) {
    for (char& ch : text) {
        if (ch == '\r') ch = '?';
        else if (ch == '?') ch = '\r';
        if (ch == '\n') ch = '!';
        else if (ch == '!') ch = '\n';
        else if (ch >= 'a' && ch <= 'z') ch = ch == 'z' ? 'a' : static_cast<char>(ch + 1);
        else if (ch >= 'A' && ch <= 'Z') ch = ch == 'Z' ? 'A' : static_cast<char>(ch + 1);
        else if (ch >= '0' && ch <= '9') ch = ch == '9' ? '0' : static_cast<char>(ch + 1);
    }
    return text;
}

// For each printable character 32..126 of the scrambled text, the original character.
std::string UnscrambleTable() {
    std::string table(95, ' ');
    for (int original = 32; original < 127; ++original) {
        const std::string scrambled = Scramble(std::string(1, static_cast<char>(original)));
        const auto code = static_cast<unsigned char>(scrambled[0]);
        if (code >= 32 && code < 127) table[code - 32] = static_cast<char>(original);
    }
    return table;
}

// The stand-in engine: reads its own file back over the network (the appended project data is
// text), shows the project's name, game type and item count, and its pictures: the embedded
// ones decoded from the pictures block, or those beside the page loaded by their file names.
// It also traces one line naming the project, which players show in their logs.
std::vector<std::uint8_t> StandInProgram(std::int32_t width, std::int32_t height) {
    const std::int32_t cols = width >= 500 ? 3 : 2;
    const std::int32_t rows = height >= 400 ? 2 : 1;
    const std::int32_t top = 96, gap = 10;
    const std::int32_t cellW = (width - gap * (cols + 1)) / cols;
    const std::int32_t cellH = std::max(16, (height - top - gap * rows) / rows);
    const std::int32_t maxPictures = cols * rows;
    const Expr root = Var("_root");

    // Cell position of picture number n (variable "qn").
    auto placeCell = [&](Expr clip) -> Stmts {
        return {SetM(clip, Str("_x"), Add(Int(gap), Mul(Bin(0x3F, Var("qn"), Int(cols)), Int(cellW + gap)))),
                SetM(clip, Str("_y"), Add(Int(top), Mul(Floor(Div(Var("qn"), Int(cols))), Int(cellH + gap))))};
    };

    Stmts unscramble = {
        Local("r", Str("")), Local("i", Int(0)), Local("n", Member(Var("s"), "length")),
        While(Less(Var("i"), Var("n")), {
            Local("c", CallM(Var("s"), "charCodeAt", {Var("i")})),
            If(Eq(Var("c"), Int(13)), {Set("r", Add(Var("r"), Str("?")))}, {
                If(Eq(Var("c"), Int(10)), {Set("r", Add(Var("r"), Str("!")))}, {
                    If(And(Not(Less(Var("c"), Int(32))), Less(Var("c"), Int(127))),
                       {Set("r", Add(Var("r"), CallM(Var("QB_U"), "charAt", {Sub(Var("c"), Int(32))})))},
                       {Set("r", Add(Var("r"), CallM(Var("s"), "charAt", {Var("i")})))})})}),
            Inc("i")}),
        Return(Var("r"))};

    // field(p, k): the unscrambled value of the scrambled key k ("key=") in p, from position f.
    Stmts field = {
        Local("i", CallM(Var("p"), "indexOf", {Var("k"), Var("f")})),
        If(Less(Var("i"), Int(0)), {Return(Str(""))}),
        Set("i", Add(Var("i"), Member(Var("k"), "length"))),
        Local("j", CallM(Var("p"), "indexOf", {Str("?"), Var("i")})),
        If(Less(Var("j"), Int(0)), {Set("j", Member(Var("p"), "length"))}),
        Return(CallF("QB_uns", {CallM(Var("p"), "substring", {Var("i"), Var("j")})}))};

    // Thumbnail of an embedded picture at src[p..]: w x h pixels, two characters each.
    Stmts drawEmbedded = {
        Set("sc", CallM(Var("Math"), "max", {CallM(Var("Math"), "ceil", {Div(Var("w"), Int(cellW))}),
                                              CallM(Var("Math"), "ceil", {Div(Var("h"), Int(cellH))})})),
        If(Less(Var("sc"), Int(1)), {Set("sc", Int(1))}),
        Set("tw", Floor(Div(Var("w"), Var("sc")))),
        Set("th", Floor(Div(Var("h"), Var("sc")))),
        If(And(Greater(Var("tw"), Int(0)), Greater(Var("th"), Int(0))), {
            Set("bmp", NewM(Member(Var("flash"), "display"), "BitmapData",
                            {Var("tw"), Var("th"), Int(0), Int(0)})),
            Set("y", Int(0)),
            While(Less(Var("y"), Var("th")), {
                Set("row", Add(Var("p"), Mul(Int(2), Mul(Mul(Var("y"), Var("sc")), Var("w"))))),
                Set("x", Int(0)),
                While(Less(Var("x"), Var("tw")), {
                    Set("at", Add(Var("row"), Mul(Int(2), Mul(Var("x"), Var("sc"))))),
                    Set("a", Index(Var("QB_T"), CallM(Var("src"), "charCodeAt", {Var("at")}))),
                    Set("b", Index(Var("QB_T"), CallM(Var("src"), "charCodeAt", {Add(Var("at"), Int(1))}))),
                    Do(CallM(Var("bmp"), "setPixel", {Var("x"), Var("y"),
                        Or(Or(Shl(Mul(Shr(Var("a"), Int(2)), Int(17)), Int(16)),
                              Shl(Mul(Or(Shl(And(Var("a"), Int(3)), Int(2)), Shr(Var("b"), Int(4))), Int(17)), Int(8))),
                           Mul(And(Var("b"), Int(15)), Int(17)))})),
                    Inc("x")}),
                Inc("y")}),
            Set("mc", CallM(root, "createEmptyMovieClip", {Add(Str("pic"), Var("qn")), Add(Int(10), Var("qn"))})),
            Do(CallM(Var("mc"), "attachBitmap", {Var("bmp"), Int(1)}))}),
    };
    for (const auto& s : placeCell(Var("mc"))) drawEmbedded.push_back(s);
    drawEmbedded.push_back(Inc("qn"));

    // Pictures beside the page: the file name of every picture item, loaded by its own name.
    Stmts loadBeside = {
        Set("pos", Int(0)),
        While(Less(Var("qn"), Int(maxPictures)), {
            Set("ti", CallM(Var("proj"), "indexOf", {Str(Scramble("tipoOggetto=")), Var("pos")})),
            If(Less(Var("ti"), Int(0)), {Set("pos", Int(-1))}, {
                Set("pos", Add(Var("ti"), Int(1))),
                Set("ty", CallF("parseInt", {CallF("QB_field", {Var("proj"), Str(Scramble("tipoOggetto=")), Var("ti")}), Int(10)})),
                If(Or(Or(Eq(Var("ty"), Int(2)), Eq(Var("ty"), Int(3))), Or(Or(Eq(Var("ty"), Int(4)), Eq(Var("ty"), Int(13))), Eq(Var("ty"), Int(104)))), {
                    Set("next", CallM(Var("proj"), "indexOf", {Str(Scramble("[oggetto")), Var("pos")})),
                    Set("hex", CallF("QB_field", {Var("proj"), Str(Scramble("lpDatiOggetto_1=")), Var("ti")})),
                    Set("li", CallM(Var("proj"), "indexOf", {Str(Scramble("lpDatiOggetto_1=")), Var("ti")})),
                    If(Or(Less(Var("li"), Int(0)), And(Not(Less(Var("next"), Int(0))), Greater(Var("li"), Var("next")))), {Set("hex", Str(""))}),
                    Set("url", Str("")),
                    Set("hi", Int(0)),
                    While(Less(Add(Var("hi"), Int(1)), Member(Var("hex"), "length")), {
                        Set("pair", CallM(Var("hex"), "substr", {Var("hi"), Int(2)})),
                        If(Eq(Var("pair"), Str("00")), {Set("hi", Member(Var("hex"), "length"))}, {
                            If(Or(Eq(Var("pair"), Str("2f")), Eq(Var("pair"), Str("5c"))), {Set("url", Str(""))},
                               {Set("url", Add(Var("url"), Add(Str("%"), Var("pair"))))}),
                            Inc("hi", Int(2))})}),
                    If(Greater(Member(Var("url"), "length"), Int(0)), {
                        Set("mc", CallM(root, "createEmptyMovieClip", {Add(Str("pic"), Var("qn")), Add(Int(10), Var("qn"))})),
                        Do(CallM(Var("QB_loader"), "loadClip", {Var("url"), Var("mc")})),
                        SetM(Var("mc"), Str("_x"), Add(Int(gap), Mul(Bin(0x3F, Var("qn"), Int(cols)), Int(cellW + gap)))),
                        SetM(Var("mc"), Str("_y"), Add(Int(top), Mul(Floor(Div(Var("qn"), Int(cols))), Int(cellH + gap)))),
                        Inc("qn"),
                    }),
                })}),
            If(Less(Var("pos"), Int(0)), {Set("qn", Int(maxPictures + 1))})})};

    Stmts onData = {
        If(Eq(Var("src"), Undefined()), {
            SetM(Var("QB_info"), Str("text"), Str("The game data could not be read.")), Return(Undefined())}),
        Set("len", Member(Var("src"), "length")),
        Set("S", CallF("parseInt", {CallM(Var("src"), "substr", {Sub(Var("len"), Int(8)), Int(8)}), Int(10)})),
        Set("E", CallF("parseInt", {CallM(Var("src"), "substr", {Sub(Var("len"), Int(16)), Int(8)}), Int(10)})),
        If(Or(CallF("isNaN", {Var("S")}), CallF("isNaN", {Var("E")})), {
            SetM(Var("QB_info"), Str("text"), Str("This movie holds no game data: build the project to see it here.")),
            Return(Undefined())}),
        Set("end", Sub(Sub(Var("len"), Int(16)), Var("E"))),
        Set("start", Sub(Var("end"), Var("S"))),
        Set("mk", CallM(Var("src"), "lastIndexOf", {Str(Scramble("[main]")), Var("end")})),
        If(Not(Less(Var("mk"), Int(0))), {Set("start", Var("mk"))}),
        If(Less(Var("start"), Int(0)), {Set("start", Int(0))}),
        Set("proj", CallM(Var("src"), "substring", {Var("start"), Var("end")})),
        Set("name", CallF("QB_field", {Var("proj"), Str(Scramble("sNomeProgetto=")), Int(0)})),
        Set("type", CallF("parseInt", {CallF("QB_field", {Var("proj"), Str(Scramble("tipoGioco=")), Int(0)}), Int(10)})),
        Set("count", CallF("QB_field", {Var("proj"), Str(Scramble("nOggetti=")), Int(0)})),
        Set("QB_whereText", Str("pictures beside the page")),
        If(Greater(Var("E"), Int(0)), {Set("QB_whereText", Str("pictures embedded"))}),
        Set("typeName", Index(CallM(Str("Shoot'em up|Racing game|Platform game|Soccer game|Music game|Curling game|Jigsaw"),
                                    "split", {Str("|")}), Var("type"))),
        If(Eq(Var("typeName"), Undefined()), {Set("typeName", Add(Str("Game type "), Var("type")))}),
        SetM(Var("QB_title"), Str("text"), Var("name")),
        SetM(Var("QB_info"), Str("text"),
             Add(Add(Add(Add(Var("typeName"), Str(" \xc2\xb7 ")), Var("count")),
                     Str(" items \xc2\xb7 ")),
                 Var("QB_whereText"))),
        Trace(Add(Str("Quillbox stand-in: "), Var("name"))),
        Set("qn", Int(0)),
        If(Greater(Var("E"), Int(0)), {
            Set("p", Var("end")),
            Set("stopAt", Add(Var("end"), Var("E"))),
            While(And(Not(Greater(Add(Var("p"), Int(16)), Var("stopAt"))), Less(Var("qn"), Int(maxPictures))), {
                Set("w", CallF("parseInt", {CallM(Var("src"), "substr", {Var("p"), Int(8)}), Int(10)})),
                Set("h", CallF("parseInt", {CallM(Var("src"), "substr", {Add(Var("p"), Int(8)), Int(8)}), Int(10)})),
                Set("p", Add(Var("p"), Int(16))),
                If(Or(Or(CallF("isNaN", {Var("w")}), CallF("isNaN", {Var("h")})),
                      Greater(Mul(Int(2), Mul(Var("w"), Var("h"))), Sub(Var("stopAt"), Var("p")))),
                   {Set("p", Var("stopAt"))},
                   {If(And(Greater(Var("w"), Int(0)), Greater(Var("h"), Int(0))), drawEmbedded),
                    Set("p", Add(Var("p"), Mul(Int(2), Mul(Var("w"), Var("h")))))})})},
           loadBeside),
    };

    Stmts onLoadInit = {
        Local("s", CallM(Var("Math"), "min", {Int(100), CallM(Var("Math"), "min",
            {Div(Int(100 * cellW), Member(Var("t"), "_width")), Div(Int(100 * cellH), Member(Var("t"), "_height"))})})),
        SetM(Var("t"), Str("_xscale"), Var("s")),
        SetM(Var("t"), Str("_yscale"), Var("s"))};

    Stmts program = {
        [](Code& c) { c.op(0x07); },  // stop
        Set("QB_U", Str(UnscrambleTable())),
        Set("QB_T", New("Array", {})),
        Set("i", Int(0)),
        Set("alphabet", Str("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+-")),
        While(Less(Var("i"), Int(64)), {
            SetM(Var("QB_T"), CallM(Var("alphabet"), "charCodeAt", {Var("i")}), Var("i")), Inc("i")}),
        Set("QB_uns", Function({"s"}, unscramble)),
        Set("QB_field", Function({"p", "k", "f"}, field)),
        Do(CallM(root, "createTextField", {Str("QB_titleField"), Int(1), Int(gap), Int(8), Int(width - 2 * gap), Int(36)})),
        Do(CallM(root, "createTextField", {Str("QB_infoField"), Int(2), Int(gap), Int(46), Int(width - 2 * gap), Int(44)})),
        Set("QB_title", Member(root, "QB_titleField")),
        Set("QB_info", Member(root, "QB_infoField")),
        Do(CallM(Var("QB_title"), "setNewTextFormat", {New("TextFormat", {Str("_sans"), Int(24), Int(0xFFFFFF), Int(1)})})),
        Do(CallM(Var("QB_info"), "setNewTextFormat", {New("TextFormat", {Str("_sans"), Int(13), Int(0xB8C4D0), Int(0)})})),
        SetM(Var("QB_info"), Str("multiline"), Int(1)),
        SetM(Var("QB_info"), Str("wordWrap"), Int(1)),
        SetM(Var("QB_title"), Str("text"), Str("Quillbox")),
        SetM(Var("QB_info"), Str("text"), Str("Reading the game data\xe2\x80\xa6")),
        Set("QB_loader", New("MovieClipLoader", {})),
        SetM(Var("QB_loader"), Str("onLoadInit"), Function({"t"}, onLoadInit)),
        Set("QB_data", New("LoadVars", {})),
        SetM(Var("QB_data"), Str("onData"), Function({"src"}, onData)),
        Do(CallM(Var("QB_data"), "load", {Member(root, "_url")})),
    };
    Code code;
    for (const auto& s : program) s(code);
    std::vector<std::uint8_t> bytes = code.finish();
    bytes.push_back(0);  // ActionEndFlag
    return bytes;
}

std::vector<std::uint8_t> Movie(std::int32_t width, std::int32_t height, std::uint32_t rgb) {
    constexpr std::uint8_t kVersion = 10;
    constexpr std::int32_t kTwipsPerPixel = 20;
    const std::int32_t xMax = width * kTwipsPerPixel, yMax = height * kTwipsPerPixel;

    BitWriter rect;
    const int nbits = std::max(SignedBits(xMax), SignedBits(yMax));
    rect.bits(static_cast<std::uint32_t>(nbits), 5);
    rect.bits(0, nbits);
    rect.bits(static_cast<std::uint32_t>(xMax), nbits);
    rect.bits(0, nbits);
    rect.bits(static_cast<std::uint32_t>(yMax), nbits);
    rect.align();

    std::vector<std::uint8_t> body = rect.bytes;
    U16(body, 24u << 8);  // frame rate 24.0 (8.8 fixed point)
    U16(body, 1);         // one frame
    Tag(body, 69, {0, 0, 0, 0});  // FileAttributes: no network, no ActionScript 3
    Tag(body, 9, {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                  static_cast<std::uint8_t>(rgb)});  // SetBackgroundColor
    Tag(body, 12, StandInProgram(width, height));  // DoAction
    Tag(body, 1, {});  // ShowFrame
    Tag(body, 0, {});  // End

    std::vector<std::uint8_t> movie = {'F', 'W', 'S', kVersion};
    U32(movie, static_cast<std::uint32_t>(8 + body.size()));
    movie.insert(movie.end(), body.begin(), body.end());
    return movie;
}

bool ParseInt(const char* text, long low, long high, long& value) {
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value >= low && value <= high;
}

} // namespace

int main(int argc, char** argv) {
    long width = 0, height = 0;
    if (argc < 4 || argc > 5 || !ParseInt(argv[2], 1, 8191, width) ||
        !ParseInt(argv[3], 1, 8191, height)) {
        std::fprintf(stderr, "usage: make_swf OUTPUT WIDTH HEIGHT [RRGGBB]  (1..8191 pixels)\n");
        return 2;
    }
    std::uint32_t rgb = 0x182028;
    if (argc == 5) {
        char* end = nullptr;
        const unsigned long v = std::strtoul(argv[4], &end, 16);
        if (end == argv[4] || *end != '\0' || v > 0xFFFFFF) {
            std::fprintf(stderr, "make_swf: colour must be six hex digits\n");
            return 2;
        }
        rgb = static_cast<std::uint32_t>(v);
    }
    const std::vector<std::uint8_t> movie =
        Movie(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), rgb);
    FILE* out = std::fopen(argv[1], "wb");
    if (!out || std::fwrite(movie.data(), 1, movie.size(), out) != movie.size() ||
        std::fclose(out) != 0) {
        std::fprintf(stderr, "make_swf: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
