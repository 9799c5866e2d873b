#include "platform/profile.h"

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/test_support.h"

namespace fs = std::filesystem;
using qb::ProfileFile;
using qbtest::ReadFile;
using qbtest::WriteFile;

namespace {

ProfileFile Parsed(std::string_view bytes) {
    ProfileFile f;
    f.parse(bytes);
    return f;
}

// Files left beside a target by an interrupted or failed save.
int StrayFiles(const fs::path& dir, const std::string& keep) {
    int n = 0;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.path().filename() != keep) ++n;
    return n;
}

} // namespace

TEST(Profile, FileWrittenFromNothingHasTheWindowsBytes) {
    ProfileFile f;
    f.setString("main", "a", "1");
    f.setString("main", "b", "2");
    f.setString("oggetto0", "IDoggetto", "1");
    f.setInt("oggetto0", "tipoOggetto", 0);
    f.setString("oggetto0", "sDescrizione", "Parameters");
    f.setInt("oggetto0", "dimDatiOggetto", 0);
    const std::string expected =
        "[main]\r\na=1\r\nb=2\r\n[oggetto0]\r\nIDoggetto=1\r\ntipoOggetto=0\r\n"
        "sDescrizione=Parameters\r\ndimDatiOggetto=0\r\n";
    EXPECT_EQ(expected.size(), 101u);
    EXPECT_EQ(f.bytes(), expected);
    EXPECT_TRUE(f.modified());

    ProfileFile empty;
    empty.setString("App", "key", "");
    EXPECT_EQ(empty.bytes(), "[App]\r\nkey=\r\n");
}

TEST(Profile, UpdatesInPlaceAndPlacesNewKeysAfterTheirSection) {
    ProfileFile f = Parsed("[main]\r\na=1\r\nb=2\r\n[oggetto0]\r\nx=1\r\n");
    f.setString("main", "a", "1234567890");
    EXPECT_EQ(f.bytes(), "[main]\r\na=1234567890\r\nb=2\r\n[oggetto0]\r\nx=1\r\n");
    f.setString("main", "a", "7");
    EXPECT_EQ(f.bytes(), "[main]\r\na=7\r\nb=2\r\n[oggetto0]\r\nx=1\r\n");

    ProfileFile g;
    g.setString("main", "a", "1");
    g.setString("oggetto0", "x", "1");
    g.setString("oggetto1", "y", "1");
    g.setString("main", "c", "3");
    g.setString("oggetto0", "z", "2");
    EXPECT_EQ(g.bytes(),
              "[main]\r\na=1\r\nc=3\r\n[oggetto0]\r\nx=1\r\nz=2\r\n[oggetto1]\r\ny=1\r\n");
}

TEST(Profile, NamesMatchWithoutCaseAndKeepTheFileSpelling) {
    ProfileFile f;
    f.setString("Main", "KeyA", "1");
    f.setString("MAIN", "keya", "2");
    EXPECT_EQ(f.bytes(), "[Main]\r\nKeyA=2\r\n");
    f.setString("mAiN", "keyB", "3");
    EXPECT_EQ(f.bytes(), "[Main]\r\nKeyA=2\r\nkeyB=3\r\n");
    EXPECT_EQ(f.getString("main", "KEYB"), "3");
    EXPECT_EQ(f.getInt("MAIN", "Keya", -1), 2);
    // Only ASCII letters fold.
    ProfileFile g = Parsed("[s\xe9]\r\nk=1\r\n");
    EXPECT_TRUE(g.hasSection("s\xe9"));
    EXPECT_FALSE(g.hasSection("S\xc9"));
    EXPECT_TRUE(g.hasSection("S\xe9"));
}

TEST(Profile, WritingTheSameValueChangesNothing) {
    const std::string text = "[main]\r\na=1\r\n[o]\r\nk=v\r\n";
    ProfileFile f = Parsed(text);
    f.setString("main", "a", "1");
    f.setString("O", "K", "v");
    f.setInt("main", "a", 1);
    EXPECT_FALSE(f.modified());
    EXPECT_EQ(f.bytes(), text);
    f.setString("main", "a", "2");
    EXPECT_TRUE(f.modified());
}

TEST(Profile, ReadsLikeGetPrivateProfileString) {
    const ProfileFile f = Parsed(
        "[s]\r\n"
        "  lead=  v1  \r\n"
        "sp = v2\r\n"
        "tab\t=\tv3\t\r\n"
        "dq=\"v4\"\r\nsq='v5'\r\ndqin=\" v6 \"\r\ndqsp=  \"v7\"  \r\n"
        "half=\"v8\r\ntailq=v9\"\r\nmix=\"v10'\r\n"
        "one=\"\r\ntwo=\"\"\r\ninner=a\"b\"c\r\n"
        "empty=\r\nblank=   \r\nnoeq\r\n"
        "dup=first\r\ndup=second\r\neq=a=b\r\nsemi=a;b\r\nmy key=v11\r\n"
        ";comment=x\r\n"
        "[ spaced ]\r\nk=sp\r\n"
        "[nobracket\r\nafter=in spaced\r\n"
        "[S]\r\nonlysecond=1\r\n");
    EXPECT_EQ(f.getString("s", "lead", "d"), "v1");
    EXPECT_EQ(f.getString("s", "sp", "d"), "v2");
    EXPECT_EQ(f.getString("s", "tab", "d"), "v3");
    EXPECT_EQ(f.getString("s", "dq", "d"), "v4");
    EXPECT_EQ(f.getString("s", "sq", "d"), "v5");
    EXPECT_EQ(f.getString("s", "dqin", "d"), " v6 ");
    EXPECT_EQ(f.getString("s", "dqsp", "d"), "v7");
    EXPECT_EQ(f.getString("s", "half", "d"), "\"v8");
    EXPECT_EQ(f.getString("s", "tailq", "d"), "v9\"");
    EXPECT_EQ(f.getString("s", "mix", "d"), "\"v10'");
    EXPECT_EQ(f.getString("s", "one", "d"), "\"");
    EXPECT_EQ(f.getString("s", "two", "d"), "");
    EXPECT_EQ(f.getString("s", "inner", "d"), "a\"b\"c");
    EXPECT_EQ(f.getString("s", "empty", "d"), "");
    EXPECT_EQ(f.getString("s", "blank", "d"), "");
    EXPECT_EQ(f.getString("s", "noeq", "d"), "d");
    EXPECT_EQ(f.getString("s", "missing", "de fault  "), "de fault");
    EXPECT_EQ(f.getString("s", "dup", "d"), "first");
    EXPECT_EQ(f.getString("s", "eq", "d"), "a=b");
    EXPECT_EQ(f.getString("s", "semi", "d"), "a;b");
    EXPECT_EQ(f.getString("s", "my key", "d"), "v11");
    EXPECT_EQ(f.getString("s", ";comment", "d"), "d");
    EXPECT_EQ(f.getString(" s ", "  sp  ", "d"), "v2");
    EXPECT_EQ(f.getString("spaced", "k", "d"), "sp");
    EXPECT_EQ(f.getString("spaced", "after", "d"), "in spaced");
    EXPECT_EQ(f.getString("s", "onlysecond", "d"), "d");  // only the first [s] is searched
    EXPECT_FALSE(f.hasKey("s", "noeq"));
    EXPECT_TRUE(f.hasKey("s", "empty"));
}

TEST(Profile, LineEndsOfEveryKindEndALine) {
    const ProfileFile f = Parsed("[a]\nx=1\ry=2\r\nz=3");
    EXPECT_EQ(f.getString("a", "x"), "1");
    EXPECT_EQ(f.getString("a", "y"), "2");
    EXPECT_EQ(f.getString("a", "z"), "3");
    // Long lines, and a CR alone far into one.
    const std::string v(40, 'v');
    const std::string text = "[b]\nlong1=" + v + "\rlong2=" + v + v + "\n\r\nlong3=" + v + "\r\r" +
                             std::string(33, ' ') + "last=" + v;
    const ProfileFile g = Parsed(text);
    EXPECT_EQ(g.getString("b", "long1"), v);
    EXPECT_EQ(g.getString("b", "long2", "", 100), v + v);
    EXPECT_EQ(g.getString("b", "long3"), v);
    EXPECT_EQ(g.getString("b", "last"), v);
    EXPECT_EQ(g.bytes(), text);
}

TEST(Profile, TheFirstOfDuplicateKeysWinsWhateverWasReadBefore) {
    const ProfileFile f = Parsed("[s]\r\ndup=first\r\na=1\r\nDUP=second\r\nb=2\r\n");
    EXPECT_EQ(f.getString("s", "a"), "1");
    EXPECT_EQ(f.getString("s", "dup"), "first");
    EXPECT_EQ(f.getString("s", "b"), "2");
    EXPECT_EQ(f.getString("s", "a"), "1");
    ProfileFile g = Parsed("[s]\r\ndup=first\r\na=1\r\ndup=second\r\n");
    EXPECT_EQ(g.getString("s", "a"), "1");
    g.setString("s", "dup", "new");
    EXPECT_EQ(g.bytes(), "[s]\r\ndup=new\r\na=1\r\ndup=second\r\n");
}

TEST(Profile, SectionsNeverLookedAtTakeWritesAndAnswerLikeTheOthers) {
    ProfileFile f = Parsed("[a]\r\nx=1\r\nX=2\r\n\r\n[b]\r\ny=1\r\n");
    f.setString("a", "z", "3");  // nothing was asked of [a] before
    EXPECT_EQ(f.getString("a", "x"), "1");
    EXPECT_EQ(f.getString("a", "z"), "3");
    f.setString("a", "X", "4");  // the first of the duplicates is the one written
    EXPECT_EQ(f.bytes(), "[a]\r\nx=4\r\nX=2\r\nz=3\r\n\r\n[b]\r\ny=1\r\n");
    f.setString("c", "k", "v");
    f.setString("c", "k2", "w");
    f.setString("C", "K", "v2");
    EXPECT_EQ(f.getString("c", "k"), "v2");
    EXPECT_EQ(f.getString("c", "k2"), "w");
    EXPECT_EQ(f.getString("b", "y"), "1");
    EXPECT_EQ(f.bytes(), "[a]\r\nx=4\r\nX=2\r\nz=3\r\n\r\n[b]\r\ny=1\r\n[c]\r\nk=v2\r\nk2=w\r\n");
}

TEST(Profile, LoadTellsEachSectionOnceAllItsLinesAreIn) {
    qbtest::TempAppFolder app;
    const std::string path = (app.path() / "told.ini").string();
    // Long enough to arrive in several reads; sections end wherever the reads happen to.
    std::string text = "; notes\r\nloose=1\r\n";
    std::vector<std::string> expected;
    for (int i = 0; i < 3000; ++i) {
        const std::string number = std::to_string(i);
        text.append("[s").append(number).append("]\r\n");
        for (int k = 0; k < i % 4; ++k)
            text.append("k").append(1, static_cast<char>('0' + k)).append("=")
                .append(190 + i % 50, static_cast<char>('a' + k)).append("\n");
        text.append("last=").append(number).append("\r\n");
        expected.push_back(std::string("s").append(number));
    }
    text += "[S7]\r\nlast=again\r\nextra=1\r\n";  // a second section of a name already taken
    text += "[ end ]\r\nlast=end";                   // the last line has no line break
    expected.push_back("end");
    WriteFile(path, text);

    ProfileFile f;
    std::vector<std::string> told;
    std::size_t whole = 0;
    ASSERT_TRUE(f.load(path, nullptr, [&](std::string_view section) {
        told.emplace_back(section);
        const std::string want = section == "end" ? "end" : std::string(section.substr(1));
        if (f.getString(section, "last") == want) ++whole;
    }));
    EXPECT_EQ(told, expected);
    EXPECT_EQ(whole, told.size());
    EXPECT_EQ(f.getString("s7", "last"), "7");
    EXPECT_FALSE(f.hasKey("s7", "extra"));
    EXPECT_EQ(f.getString("s2999", "k2"), std::string(190 + 2999 % 50, 'c'));
    EXPECT_EQ(f.bytes(), text);

    // Nothing but a preamble: nothing to tell. A missing file: the same.
    WriteFile(path, "a=1\r\n");
    told.clear();
    const auto tell = [&](std::string_view section) { told.emplace_back(section); };
    ASSERT_TRUE(f.load(path, nullptr, tell));
    ASSERT_TRUE(f.load(path + ".none", nullptr, tell));
    EXPECT_TRUE(told.empty());
}

TEST(Profile, EntriesComeInFileOrderAsLookupsReadThem) {
    const ProfileFile f = Parsed("k=0\r\n[s]\r\n a = \"1\" \r\n; b=no\r\nnot an entry\r\nA=2\r\n"
                                 "c=\r\n\r\n[t]\r\nd=4\r\n[S]\r\ne=5\r\n");
    std::string seen;
    f.forEachEntry("S ", [&](std::string_view key, std::string_view value) {
        seen.append(key).append(":").append(value).append(";");
    });
    EXPECT_EQ(seen, "a:1;A:2;c:;");
    seen.clear();
    f.forEachEntry("none", [&](std::string_view key, std::string_view) { seen.append(key); });
    EXPECT_EQ(seen, "");
}

TEST(Profile, HoweverManyLookupsCameTheFirstOfDuplicatesAnswers) {
    std::string text = "[s]\r\n";
    for (int i = 0; i < 40; ++i) {
        const std::string n = std::to_string(i);
        text.append("k").append(n).append("=").append(n).append("\r\n");
    }
    text += "K5=again\r\nk39=again\r\n[t]\r\nk5=t\r\n";
    ProfileFile f = Parsed(text);
    // Backwards and with misses: neither near the top of the section nor in file order.
    for (int round = 0; round < 3; ++round)
        for (int i = 39; i >= 0; --i) {
            const std::string n = std::to_string(i);
            ASSERT_EQ(f.getString("s", std::string("K").append(n)), n);
            ASSERT_FALSE(f.hasKey("s", std::string("missing").append(n)));
        }
    f.setString("s", "k5", "new");
    f.setString("s", "k40", "40");
    EXPECT_EQ(f.getString("s", "K5"), "new");
    EXPECT_EQ(f.getString("s", "k40"), "40");
    EXPECT_EQ(f.getString("t", "k5"), "t");
    EXPECT_NE(f.bytes().find("k39=39\r\nK5=again\r\nk39=again\r\nk40=40\r\n[t]"), std::string::npos);
}

TEST(Profile, ValuesAreCutToTheBuffer) {
    const std::string v259(259, 'a'), v300(300, 'b');
    const ProfileFile f = Parsed("[s]\r\nk259=" + v259 + "a\r\nk300=" + v300 + "\r\nq=\"" + v300 +
                                 "\"\r\nabcd=\"abcd\"\r\n");
    EXPECT_EQ(f.getString("s", "k259"), v259);  // 260 characters answer 259
    EXPECT_EQ(f.getString("s", "k300"), std::string(259, 'b'));
    EXPECT_EQ(f.getString("s", "k300", "", 4), "bbb");
    EXPECT_EQ(f.getString("s", "k300", "", 1), "");
    EXPECT_EQ(f.getString("s", "k300", "", 0), "");
    EXPECT_EQ(f.getString("s", "q"), std::string(259, 'b'));  // the 259 after the quote
    EXPECT_EQ(f.getString("s", "abcd", "", 6), "abcd");
    EXPECT_EQ(f.getString("s", "abcd", "", 4), "abc");
    EXPECT_EQ(f.getString("s", "none", "defaultvalue", 5), "defa");
    EXPECT_EQ(f.findValue("s", "k300")->size(), 300u);
}

TEST(Profile, IntegersFollowGetPrivateProfileInt) {
    struct Case {
        const char* value;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"70", 70},           {"-5", -5},          {"  12abc", 12},    {"abc", 0},
        {"0x10", 16},         {"4294967295", -1},  {"99999999999", 1215752191},
        {"+7", 7},            {" -3", -3},         {"\t9", 9},         {"010", 10},
        {"0b101", 5},         {"0o17", 15},        {"\"42\"", 42},     {"12 34", 12},
        {"- 3", 0},           {"--1", 0},          {"2147483648", INT32_MIN},
        {"-2147483649", 2147483647}, {"0x", 0},    {"0X1F", 0},        {"0xfffffffff", -1},
        {"4294967296", 0},    {"4294967297", 1},   {"-4294967297", -1},
        {"42A94967297", 42},  {"B4294967297", 0},  {"0xAbC", 0xabc},   {"0b102", 2},
    };
    std::string text = "[s]\r\n";
    int i = 0;
    for (const Case& c : cases) text += "k" + std::to_string(i++) + "=" + c.value + "\r\n";
    text += "empty=\r\nquotedempty=\"\"\r\n";
    const ProfileFile f = Parsed(text);
    i = 0;
    for (const Case& c : cases)
        EXPECT_EQ(f.getInt("s", "k" + std::to_string(i++), -1), c.expected) << c.value;
    EXPECT_EQ(f.getInt("s", "empty", -1), -1);
    EXPECT_EQ(f.getInt("s", "quotedempty", -7), -7);
    EXPECT_EQ(f.getInt("s", "missing", 33), 33);
    EXPECT_EQ(f.getInt("nosection", "k0", 33), 33);
}

TEST(Profile, HandEditedFilesKeepTheLinesAWriteDoesNotTouch) {
    // Junk (NULs included) before the first section, LF ends, comments, blanks around '='.
    std::string junk("\x01\x02junk\0\0 line\n; note\n", 21);
    const std::string text = junk +
                             "[main]\n"
                             "; keep me\n"
                             "  a = 1  \n"
                             "b=2\n"
                             "\n"
                             "   \n"
                             "[other]\n"
                             "c=3";
    ProfileFile f = Parsed(text);
    EXPECT_EQ(f.bytes(), text);
    f.setString("main", "a", "1");  // same value: nothing moves
    EXPECT_FALSE(f.modified());
    f.setString("MAIN", "A", "9");
    f.setString("main", "new", "x");
    f.setString("other", "d", "4");
    f.setString("third", "e", "5");
    EXPECT_EQ(f.bytes(), junk +
                             "[main]\n"
                             "; keep me\n"
                             "  a = 9\n"
                             "b=2\n"
                             "new=x\r\n"
                             "\n"
                             "   \n"
                             "[other]\n"
                             "c=3\r\n"
                             "d=4\r\n"
                             "[third]\r\n"
                             "e=5\r\n");
    // Re-read, the document answers what it wrote.
    const ProfileFile g = Parsed(f.bytes());
    EXPECT_EQ(g.getString("main", "a"), "9");
    EXPECT_EQ(g.getString("main", "new"), "x");
    EXPECT_EQ(g.getString("other", "c"), "3");
    EXPECT_EQ(g.getString("third", "e"), "5");
    EXPECT_EQ(g.getString("main", "junk"), "");

    // A new key after a section whose last line is a comment goes after the comment.
    ProfileFile h = Parsed("[s]\r\nk=1\r\n;tail\r\n");
    h.setString("s", "n", "2");
    EXPECT_EQ(h.bytes(), "[s]\r\nk=1\r\n;tail\r\nn=2\r\n");
    // A section with only its header.
    ProfileFile e = Parsed("[s]");
    e.setString("s", "n", "2");
    EXPECT_EQ(e.bytes(), "[s]\r\nn=2\r\n");
}

TEST(Profile, OddValuesAndNames) {
    ProfileFile f;
    EXPECT_TRUE(f.setString("s", "k1", "  x  "));
    EXPECT_TRUE(f.setString("s", "k3", "\"quoted\""));
    EXPECT_TRUE(f.setString("s", "  padded key  ", "v"));
    EXPECT_TRUE(f.setString("s", "semi", "a;b=[x]"));
    EXPECT_TRUE(f.setString(" blank ", "k", "v"));
    EXPECT_TRUE(f.setString("[br]", "k", "v"));
    EXPECT_TRUE(f.setString("s", "bytes", "\xe9\x80\x81\x8d\x90\x9d\xff\xa0"));
    EXPECT_EQ(f.bytes(),
              "[s]\r\nk1=  x  \r\nk3=\"quoted\"\r\npadded key=v\r\nsemi=a;b=[x]\r\n"
              "bytes=\xe9\x80\x81\x8d\x90\x9d\xff\xa0\r\n"
              "[blank]\r\nk=v\r\n[[br]]\r\nk=v\r\n");
    const ProfileFile g = Parsed(f.bytes());
    EXPECT_EQ(g.getString("s", "k1"), "x");
    EXPECT_EQ(g.getString("s", "k3"), "quoted");
    EXPECT_EQ(g.getString("[br]", "k"), "v");
    EXPECT_EQ(g.getString("s", "bytes"), "\xe9\x80\x81\x8d\x90\x9d\xff\xa0");

    // Blanks are written as given, updates included; a read trims them.
    ProfileFile b = Parsed("[s]\r\nk=old\r\nhand = same\r\n");
    EXPECT_TRUE(b.setString("s", "k", " value "));
    EXPECT_TRUE(b.setString("s", "hand", "same"));  // reads the same: the line stays
    EXPECT_TRUE(b.setString("s", "new", " lead"));
    EXPECT_EQ(b.bytes(), "[s]\r\nk= value \r\nhand = same\r\nnew= lead\r\n");
    EXPECT_EQ(Parsed(b.bytes()).getString("s", "k"), "value");
    EXPECT_TRUE(b.setString("s", "hand", " same"));
    EXPECT_EQ(b.bytes(), "[s]\r\nk= value \r\nhand = same\r\nnew= lead\r\n");
    EXPECT_TRUE(b.setString("s", "hand", "other"));
    EXPECT_EQ(b.bytes(), "[s]\r\nk= value \r\nhand = other\r\nnew= lead\r\n");
    EXPECT_TRUE(b.setString("s", "k", "plain"));
    EXPECT_EQ(b.bytes(), "[s]\r\nk=plain\r\nhand = other\r\nnew= lead\r\n");

    // A key alone on a line (no '=') is that key's line: it is rewritten, never left in front
    // of a new entry, even when an entry of the key follows it.
    ProfileFile n = Parsed("[main]\r\nversioneProgetto\r\nx=1\r\n[o]\r\n  k  \r\nk=1\r\n");
    EXPECT_EQ(n.getInt("main", "versioneProgetto", 1), 1);
    EXPECT_TRUE(n.setInt("main", "VERSIONEPROGETTO", 70));
    EXPECT_TRUE(n.setInt("o", "k", 2));
    EXPECT_EQ(n.bytes(), "[main]\r\nversioneProgetto=70\r\nx=1\r\n[o]\r\nk=2\r\nk=1\r\n");
    EXPECT_EQ(n.getInt("main", "versioneProgetto", 1), 70);
    EXPECT_EQ(n.getInt("o", "k", 0), 2);
    EXPECT_TRUE(n.setInt("o", "k", 3));  // the first entry, now the rewritten line
    EXPECT_EQ(n.bytes(), "[main]\r\nversioneProgetto=70\r\nx=1\r\n[o]\r\nk=3\r\nk=1\r\n");

    // A line break would add a line of its own: the value ends there.
    ProfileFile h;
    EXPECT_TRUE(h.setString("main", "sNomeProgetto", "Game\r\nnOggetti=99999"));
    EXPECT_EQ(h.bytes(), "[main]\r\nsNomeProgetto=Game\r\n");
    // Names that would not read back as themselves are refused and change nothing.
    EXPECT_FALSE(h.setString("main", "a=b", "v"));
    EXPECT_FALSE(h.setString("main", ";c", "v"));
    EXPECT_FALSE(h.setString("main", "[x]", "v"));
    EXPECT_FALSE(h.setString("main", "[x", "y]"));
    EXPECT_FALSE(h.setString("ma\nin", "k", "v"));
    EXPECT_FALSE(h.setString("main", "k\r", "v"));
    EXPECT_EQ(h.bytes(), "[main]\r\nsNomeProgetto=Game\r\n");
    EXPECT_TRUE(h.setString("main", "[x", "y"));
    EXPECT_EQ(Parsed(h.bytes()).getString("main", "[x"), "y");
}

TEST(Profile, LongSectionsKeepTheirPiecesApart) {
    ProfileFile f;
    for (int k = 1; k <= 201; ++k)
        f.setString("oggetto0", "lpDatiOggetto_" + std::to_string(k),
                    std::string(k == 201 ? 168 : 240, static_cast<char>('a' + k % 6)));
    f.setString("oggetto1", "x", "1");
    const ProfileFile g = Parsed(f.bytes());
    EXPECT_EQ(g.getString("oggetto0", "lpDatiOggetto_20", "", 300), std::string(240, 'c'));
    EXPECT_EQ(g.getString("oggetto0", "lpDatiOggetto_200", "", 300), std::string(240, 'c'));
    EXPECT_EQ(g.getString("oggetto0", "lpDatiOggetto_201", "", 300), std::string(168, 'd'));
    EXPECT_FALSE(g.hasKey("oggetto0", "lpDatiOggetto_202"));
    ProfileFile h = Parsed(f.bytes());
    h.setString("oggetto0", "lpDatiOggetto_100", "00");
    h.setString("oggetto0", "lpDatiOggetto_202", "11");
    const std::string b = h.bytes();
    EXPECT_NE(b.find("lpDatiOggetto_99=" + std::string(240, 'd') + "\r\nlpDatiOggetto_100=00\r\n"
                     "lpDatiOggetto_101="),
              std::string::npos);
    EXPECT_NE(b.find("lpDatiOggetto_201=" + std::string(168, 'd') +
                     "\r\nlpDatiOggetto_202=11\r\n[oggetto1]\r\n"),
              std::string::npos);
}

TEST(Profile, LoadAndSaveFiles) {
    qbtest::TempAppFolder app;
    const fs::path dir = app.path() / "p";
    fs::create_directories(dir);
    const std::string path = (dir / "p.ini").string();

    ProfileFile missing;
    std::string error;
    EXPECT_TRUE(missing.load(path, &error));
    EXPECT_EQ(missing.getString("main", "a", "def"), "def");
    EXPECT_TRUE(missing.save(path, &error));  // nothing to write: no file made
    EXPECT_FALSE(fs::exists(path));

    ProfileFile f;
    ASSERT_TRUE(f.load(path));
    f.setString("main", "a", "1");
    ASSERT_TRUE(f.save(path, &error)) << error;
    EXPECT_EQ(ReadFile(path), "[main]\r\na=1\r\n");
    EXPECT_EQ(StrayFiles(dir, "p.ini"), 0);
    EXPECT_FALSE(f.modified());

    // An unchanged save leaves the file alone (same inode, same bytes).
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    ProfileFile g;
    ASSERT_TRUE(g.load(path));
    g.setString("main", "a", "1");
    ASSERT_TRUE(g.save(path));
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);

    // A changed save replaces the file and keeps its permissions.
    ::chmod(path.c_str(), 0640);
    g.setString("main", "b", "2");
    ASSERT_TRUE(g.save(path));
    EXPECT_EQ(ReadFile(path), "[main]\r\na=1\r\nb=2\r\n");
    struct stat replaced {};
    ASSERT_EQ(::stat(path.c_str(), &replaced), 0);
    EXPECT_EQ(replaced.st_mode & 0777, 0640u);

    // A file that turns out longer than its size said (as files of /proc do) is read whole.
    ProfileFile proc;
    ASSERT_TRUE(proc.load("/proc/version"));
    EXPECT_EQ(proc.bytes(), ReadFile("/proc/version"));
    EXPECT_FALSE(proc.bytes().empty());

    // Lines that straddle the blocks in which a large file is read.
    std::string big;
    for (int i = 0; i < 40000; ++i)
        big += "[s" + std::to_string(i) + "]\r\nk=" + std::string(static_cast<std::size_t>(i % 50), 'v') +
               (i % 3 ? "\r\n" : i % 2 ? "\n" : "\r");
    WriteFile(path, big);
    ProfileFile large;
    ASSERT_TRUE(large.load(path));
    EXPECT_EQ(large.bytes(), big);
    for (int i : {0, 1, 2, 12345, 39999})
        EXPECT_EQ(large.getString("s" + std::to_string(i), "k"), std::string(static_cast<std::size_t>(i % 50), 'v'));
    // A CR LF split between two blocks (files are read 512 KiB at a time) is one line end.
    const std::string filler(512 * 1024 - 1 - 7, 'f');
    WriteFile(path, "[a]\r\nk=" + filler + "\r\n[b]\r\nk=2\r\n");
    ProfileFile split;
    ASSERT_TRUE(split.load(path));
    split.setString("a", "n", "1");
    EXPECT_EQ(split.bytes(), "[a]\r\nk=" + filler + "\r\nn=1\r\n[b]\r\nk=2\r\n");

    // A folder in place of the file cannot be read.
    fs::create_directories(dir / "sub.ini");
    ProfileFile d;
    EXPECT_FALSE(d.load((dir / "sub.ini").string(), &error));
    EXPECT_NE(error.find("sub.ini"), std::string::npos);
}

TEST(Profile, FailedSaveLeavesTheOldFileWhole) {
    qbtest::TempAppFolder app;
    const fs::path dir = app.path() / "p";
    fs::create_directories(dir);
    const std::string path = (dir / "p.ini").string();
    const std::string old = "[main]\r\na=1\r\n";
    WriteFile(path, old);

    // The write runs out of room half-way (a file size limit works even for root).
    ProfileFile f;
    ASSERT_TRUE(f.load(path));
    f.setString("main", "big", std::string(200000, 'x'));
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string error;
    const bool saved_ok = f.save(path, &error);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(saved_ok);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadFile(path), old);
    EXPECT_EQ(StrayFiles(dir, "p.ini"), 0);
    EXPECT_TRUE(f.modified());

    // The rename cannot replace a folder.
    fs::create_directories(dir / "taken" / "inside");
    EXPECT_FALSE(qb::ReplaceFileAtomically((dir / "taken").string(), "x", &error));
    EXPECT_TRUE(fs::is_directory(dir / "taken" / "inside"));
    EXPECT_EQ(StrayFiles(dir, "p.ini"), 1);  // only "taken"

    // A folder that does not exist.
    EXPECT_FALSE(qb::WriteProfileString((dir / "none" / "p.ini").string(), "s", "k", "v", &error));
    EXPECT_FALSE(fs::exists(dir / "none"));
}

TEST(Profile, ReadOnlyFolderRefusesTheSave) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    qbtest::TempAppFolder app;
    const fs::path dir = app.path() / "ro";
    fs::create_directories(dir);
    const std::string path = (dir / "p.ini").string();
    WriteFile(path, "[main]\r\na=1\r\n");
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    std::string error;
    EXPECT_FALSE(qb::WriteProfileString(path, "main", "a", "2", &error));
    fs::permissions(dir, fs::perms::owner_all);
    EXPECT_EQ(ReadFile(path), "[main]\r\na=1\r\n");
}

TEST(Profile, FilesBeyondTheLimitsAreRefusedWhole) {
    qbtest::TempAppFolder app;
    const std::string path = (app.path() / "many.ini").string();
    // Short lines cost memory of their own: too many of them are refused, not half read.
    WriteFile(path, std::string(ProfileFile::kMaxLines + 1, '\n'));
    ProfileFile f;
    std::string error;
    EXPECT_FALSE(f.load(path, &error));
    EXPECT_NE(error.find("lines"), std::string::npos);
    EXPECT_EQ(f.bytes(), "");
    EXPECT_TRUE(f.save(path));  // an empty, unchanged document writes nothing
    EXPECT_EQ(fs::file_size(path), ProfileFile::kMaxLines + 1);
    EXPECT_TRUE(Parsed(std::string(ProfileFile::kMaxLines, '\n')).getString("s", "k", "d") == "d");

    std::string sections;
    for (std::size_t i = 0; i <= ProfileFile::kMaxSections; ++i) sections += "[]\n";
    ProfileFile g;
    EXPECT_FALSE(g.parse(sections));
    sections.resize(sections.size() - 3);
    EXPECT_TRUE(g.parse(sections));
}

TEST(Profile, OneKeyHelpersAnswerAsALoadedDocument) {
    qbtest::TempAppFolder app;
    const std::string path = (app.path() / "one.ini").string();
    const std::string text =
        "junk=0\n[other]\r\nk=no\r\n[Main]\r\n  Name = \"quoted\"  \r\nn=0x20\r\nname=second\r\n"
        "[main]\r\nlater=1\r\n[tail]\r\nlast=end";
    WriteFile(path, text);
    EXPECT_EQ(qb::ReadProfileString(path, "main", "name"), "quoted");
    EXPECT_EQ(qb::ReadProfileString(path, "main", "name", "", 4), "quo");
    EXPECT_EQ(qb::ReadProfileInt(path, "MAIN", "n", -1), 32);
    EXPECT_EQ(qb::ReadProfileString(path, "main", "later", "d"), "d");
    EXPECT_EQ(qb::ReadProfileString(path, "tail", "last"), "end");
    EXPECT_EQ(qb::ReadProfileString(path, "", "junk", "d"), "d");
    EXPECT_EQ(qb::ReadProfileString(path, "none", "k", "def  "), "def");
    EXPECT_EQ(qb::ReadProfileInt((app.path() / "missing.ini").string(), "s", "k", 5), 5);

    // Past the first read block.
    std::string big = "[a]\r\n";
    for (int i = 0; i < 5000; ++i) big += "key" + std::to_string(i) + "=" + std::string(40, 'v') + "\r\n";
    big += "[b]\r\nk=found\r\n";
    WriteFile(path, big);
    EXPECT_EQ(qb::ReadProfileString(path, "b", "k"), "found");
    EXPECT_EQ(qb::ReadProfileString(path, "a", "key4999", "", 300), std::string(40, 'v'));

    ASSERT_TRUE(qb::WriteProfileString(path, "b", "k", "changed"));
    ASSERT_TRUE(qb::WriteProfileString(path, "c", "new", "1"));
    EXPECT_EQ(ReadFile(path).substr(big.size() - 7), "changed\r\n[c]\r\nnew=1\r\n");
}
