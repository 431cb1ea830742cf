// Project files as they turn up in the wild: empty, binary, cut short, with
// odd line ends, a byte-order mark, keys or sections missing, numbers at and
// past their limits, too many or odd title sets. Each one either loads with
// the figures the reading rules give, or ends the load with its error text.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

#include "support/project_files.h"
#include "support/seeded_random.h"
#include "project/reader.h"
#include "ui/form1.h"

using namespace rqtest;
using namespace std::string_literals;

namespace {

const std::string kV01 = EclItem("V01PGC1_0", "4500", 0, 999);        // 1000 frames at 25: 21972.65625 KBytes
const std::string kV02 = EclItem("V02PGC1_0", "3000", 0, 2396, "1");  // 2397 at 23.97: 36621.09375 KBytes
const std::string kInf = InfSection("V01PGC1_0", "54.9") + InfSection("V02PGC1_0", "60");
const std::string kTenMegabytes(10 << 20, 'x');
const std::string kBom = "\xEF\xBB\xBF";

// Seeded noise of every byte value, or only of those that cannot end a line.
std::string Noise(size_t size, unsigned seed, bool oneLine)
{
    SeededRandom<> random(seed);
    std::string bytes;
    while (bytes.size() < size) {
        const char c = random.Byte();
        if (!oneLine || (c != '\r' && c != '\n' && c != '\x1a'))
            bytes += c;
    }
    return bytes;
}

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

std::string Without(const std::string& text, const std::string& line) { return Replace(text, line + "\r\n", ""); }

std::string Items(int from, int to)
{
    std::string ecl;
    for (int n = from; n <= to; ++n) {
        char title[16];
        std::snprintf(title, sizeof title, "V%02dPGC1_0", n);
        ecl += EclItem(title, "4500", 0, 999);
    }
    return ecl;
}

std::string Sections(int from, int to)
{
    std::string inf;
    for (int n = from; n <= to; ++n) {
        char title[16];
        std::snprintf(title, sizeof title, "V%02dPGC1_0", n);
        inf += InfSection(title, "50");
    }
    return inf;
}

// The title sets, the items and the total size a load gives, or its error.
std::string Outcome(const std::optional<std::string>& ecl, const std::optional<std::string>& inf)
{
    TempFolder dir;
    if (ecl)
        WriteBytes(dir / "REBUILDER.ECL", *ecl);
    if (inf)
        WriteBytes(dir / "REBUILDER.INF", *inf);
    rq::ProjectState s;
    try {
        rq::LoadECL(s, dir / (ecl ? "REBUILDER.ECL" : "REBUILDER.INF"));
    } catch (const rq::AppError& e) {
        return e.Text();
    }
    const rq::CheckList& sets = s.CheckListBox1;
    std::string out = std::to_string(sets.Count()) + " title sets";
    if (sets.Count() > 0)
        out += " " + sets.Text(0) + ".." + sets.Text(sets.Count() - 1);
    return out + ", " + std::to_string(s.StringGrid1.RowCount() - 1) + " items, total " + s.Label2.Caption();
}

}  // namespace

TEST(BadInput, LoadsWithTheFiguresOfTheRulesOrEndsWithItsError)
{
    const std::string noInteger = "'' is not a valid integer value";
    const std::string noReal = "'' is not a valid floating point value";
    const std::string both = "2 title sets v01..v02, 2 items, total 58593.75";
    const std::string v01Only = "1 title sets v01..v01, 1 items, total 21972.65625";
    const std::string longTitle = "V01" + kTenMegabytes;
    const struct {
        const char* name;
        std::optional<std::string> ecl, inf;
        std::string outcome;
    } cases[] = {
        {"the pair as it should be", kV01 + kV02, kInf, both},
        {"both files empty", "", "", noInteger},
        {"the ECL file empty", "", kInf, noInteger},
        {"the INF file empty", kV01 + kV02, "", noReal},
        {"the ECL file missing", std::nullopt, kInf, "File not found"},
        {"the INF file missing", kV01 + kV02, std::nullopt, "File not found"},
        {"binary noise as the ECL file", Noise(4096, 1, false), kInf, noInteger},
        {"binary noise as the INF file", kV01 + kV02, Noise(4096, 2, false), noReal},
        {"a line of binary noise between items", kV01 + Noise(4096, 3, true) + "\r\n" + kV02, kInf, both},
        {"a NUL byte in a title and its section", Replace(kV01, "V01PGC1_0", "V01\0PGC"s),
         Replace(kInf, "V01PGC1_0", "V01\0PGC"s), v01Only},
        {"a NUL byte in a bitrate", Replace(kV01, "=4500", "=45\0" "00"s), kInf,
         "'45\0" "00' is not a valid floating point value"s},
        {"a 10 MB line between items", kV01 + kTenMegabytes + "\r\n" + kV02, kInf, both},
        {"a 10 MB title, its section cut to 1024 characters", Replace(kV01, "V01PGC1_0", longTitle),
         InfSection(longTitle.substr(0, 1024), "50"), v01Only},
        {"a 10 MB title, its section whole", Replace(kV01, "V01PGC1_0", longTitle), InfSection(longTitle, "50"),
         noReal},
        {"a 10 MB reduction, cut to 100 characters", kV01,
         InfSection("V01PGC1_0", "54.9" + std::string(10 << 20, '0')), v01Only},
        // 5E99 percent: the main grid cuts ten times that to a 64-bit integer.
        {"a reduction of 100 digits", kV01, InfSection("V01PGC1_0", "5" + std::string(10 << 20, '0')),
         "Invalid floating point operation"},
        {"CR-only line ends in the ECL file", Replace(kV01 + kV02, "\r\n", "\r"), kInf, noInteger},
        {"CR-only line ends in the INF file", kV01 + kV02, Replace(kInf, "\r\n", "\r"), noReal},
        {"LF-only line ends", Replace(kV01 + kV02, "\r\n", "\n"), Replace(kInf, "\r\n", "\n"), both},
        {"Ctrl-Z first on a line ends the ECL file", kV01 + "\x1a\r\n" + kV02, kInf, v01Only},
        {"Ctrl-Z inside a bitrate ends its text", Replace(kV01, "=4500", "=45\x1a" "00"), kInf,
         "1 title sets v01..v01, 1 items, total 219.7265625"},
        {"Ctrl-Z as the last byte, as DOS tools end a file", kV01 + kV02 + "\x1a", kInf + "\x1a", both},
        {"Ctrl-Z first in the INF file", kV01, "\x1a" + kInf, noReal},
        {"a byte-order mark before the ECL file", kBom + kV01 + kV02, kInf,
         "1 title sets v02..v02, 1 items, total 36621.09375"},
        {"a byte-order mark before the INF file", kV01, kBom + kInf, noReal},
        {"an item without encode_last", Without(kV01, "encode_last=999"), kInf, noInteger},
        {"an item without encode_first", Without(kV01, "encode_first=0"), kInf, noInteger},
        {"an item without vbr_brate_avg", Without(kV01, "vbr_brate_avg=4500"), kInf, noReal},
        {"an item without frame_rate_idx", Without(kV01, "frame_rate_idx=3"), kInf, noReal},
        {"an item without a title", Without(kV01, "title=V01PGC1_0"), kInf, noReal},
        {"an item without passes and width", Without(Without(kV01, "vbr_pass=2"), "half_width=0"), kInf, v01Only},
        {"a title set without its INF section", kV01 + kV02, InfSection("V01PGC1_0", "54.9"), noReal},
        {"the last frame at the 32-bit limit", Replace(kV01, "encode_last=999", "encode_last=2147483647"), kInf,
         "Integer overflow"},
        {"the last frame one below it", Replace(kV01, "encode_last=999", "encode_last=2147483646"), kInf,
         "1 title sets v01..v01, 1 items, total 47185919978.0273"},
        {"the last frame past it", Replace(kV01, "encode_last=999", "encode_last=2147483648"), kInf,
         "'2147483648' is not a valid integer value"},
        {"the last frame at the limit in hexadecimal", Replace(kV01, "encode_last=999", "encode_last=0x7FFFFFFF"),
         kInf, "Integer overflow"},
        {"the first frame at the lower limit", Replace(kV01, "encode_first=0", "encode_first=-2147483648"), kInf,
         "Integer overflow"},
        {"the first frame past it", Replace(kV01, "encode_first=0", "encode_first=-2147483649"), kInf,
         "'-2147483649' is not a valid integer value"},
        {"a title set of more than 2^31 - 1 frames",
         EclItem("V01PGC1_0", "4500", 0, 1073741823) + EclItem("V01PGC1_1", "4500", 0, 1073741823),
         kInf + InfSection("V01PGC1_1", "50"), "Integer overflow"},
        {"a frame-rate index past 32 bits", Replace(kV01, "frame_rate_idx=3", "frame_rate_idx=99999999999"), kInf,
         "'99999999999' is not a valid integer value"},
        {"99 title sets", Items(1, 99), Sections(1, 99), "99 title sets v01..v99, 99 items, total 2175292.96875"},
        {"100 title sets, v00 among them", Items(0, 99), Sections(0, 99),
         "99 title sets v01..v99, 100 items, total 2175292.96875"},
        {"a title V100", Replace(kV01, "V01PGC1_0", "V100"), InfSection("V100", "50"),
         "1 title sets v10..v10, 1 items, total 21972.65625"},
        {"only v00", Replace(kV01, "V01PGC1_0", "V00"), InfSection("V00", "50"), "0 title sets, 1 items, total 0"},
        {"a negative bitrate", Replace(kV01, "=4500", "=-4500"), kInf,
         "1 title sets v01..v01, 1 items, total -21972.65625"},
        {"the last frame before the first",
         Replace(Replace(kV01, "encode_first=0", "encode_first=999"), "encode_last=999", "encode_last=0"), kInf,
         "1 title sets v01..v01, 1 items, total -21928.7109375"},
        {"a negative reduction", kV01, InfSection("V01PGC1_0", "-50"), v01Only},
        {"a title v-1", Replace(kV01, "V01PGC1_0", "v-1"), InfSection("v-1", "50"),
         "'-1' is not a valid integer value"},
        {"a title of one character", Replace(kV01, "V01PGC1_0", "V"), InfSection("V", "50"), noInteger},
        {"a title of two characters", Replace(kV01, "V01PGC1_0", "V1"), InfSection("V1", "50"),
         "1 title sets v1..v1, 1 items, total 21972.65625"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Outcome(c.ecl, c.inf), c.outcome) << c.name;
    // The first case is the well-formed pair; the folder below is one more.
    RecordProperty("bad_inputs", static_cast<int>(std::size(cases)));

    // An INF "file" that is a folder cannot be read.
    TempFolder dir;
    WriteBytes(dir / "REBUILDER.ECL", kV01);
    std::filesystem::create_directory(dir / "REBUILDER.INF");
    rq::TForm1 form;
    std::string box;
    form.ShowError = [&box](const std::string& text) { box = text; };
    EXPECT_FALSE(form.Run([&] { rq::LoadECL(form.s, dir / "REBUILDER.ECL"); }));
    EXPECT_EQ(box, "Invalid filename.");

    // The error box quotes a value with a NUL byte whole.
    std::filesystem::remove(dir / "REBUILDER.INF");
    WriteBytes(dir / "REBUILDER.INF", kInf);
    WriteBytes(dir / "REBUILDER.ECL", Replace(kV01, "=4500", "=45\0" "00"s));
    EXPECT_FALSE(form.Run([&] { rq::LoadECL(form.s, dir / "REBUILDER.ECL"); }));
    EXPECT_EQ(box, "'45\0" "00' is not a valid floating point value."s);
}
