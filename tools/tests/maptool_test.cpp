// maptool through its dispatch function (output captured) and, for the error
// line and exit code, as a separate process.
#include "demogen/generate.h"
#include "maptool/arguments.h"
#include "maptool/commands.h"
#include "maptool/detect.h"
#include "maptool/failure.h"
#include "maptool/png_io.h"
#include "png_test_util.h"

#include "formats/mapfile.h"
#include "formats/pbm.h"
#include "formats/stream.h"
#include "formats/tests/run_command.h"
#include "formats/tilepalette.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <png.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using Json = nlohmann::json;

namespace {

const fs::path& WorkDir() {
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / ("zorv_maptool_" + std::to_string(::getpid()));
        fs::remove_all(d);
        demo::GenerateDemo(d);
        return d;
    }();
    return dir;
}

class RemoveWorkDir : public testing::Environment {
public:
    void TearDown() override { fs::remove_all(WorkDir()); }
};
const auto* const kCleanup = testing::AddGlobalTestEnvironment(new RemoveWorkDir);

std::string InWork(const std::string& name) {
    return (WorkDir() / name).string();
}

using Result = testing_support::CommandResult;

Result MapTool(const maptool::Arguments& args) {
    std::ostringstream out, err;
    int code = maptool::RunMapTool(args, out, err);
    return {code, out.str(), err.str()};
}

// Runs the built program with stdout and stderr captured in files; `shell`
// goes before the program on the shell's command line.
Result RunProgram(const std::string& args, const std::string& shell = "") {
    return testing_support::RunCommand(shell + "'" + MAPTOOL_EXE + "' " + args, WorkDir());
}

void ExpectOneErrorLine(const Result& r) {
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    ASSERT_FALSE(r.err.empty());
    EXPECT_EQ(r.err.rfind("maptool: ", 0), 0u) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_EQ(r.err.back(), '\n');
}

void WriteBytes(const fs::path& file, const std::vector<uint8_t>& bytes) {
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

} // namespace

TEST(MaptoolInfo, DescribesEachFileType) {
    Result r = MapTool({"info", InWork("demo.map")});
    ASSERT_EQ(r.code, 0) << r.err;
    Json map = Json::parse(r.out);
    EXPECT_EQ(map["type"], "map");
    EXPECT_EQ(map["width"], 80);
    EXPECT_EQ(map["height"], 50);
    EXPECT_EQ(map["cellWords"], 6);
    EXPECT_EQ(map["tileset"], "DEMO.TIL");
    ASSERT_EQ(map["chunks"].size(), 3u);
    EXPECT_EQ(map["chunks"][0], Json::parse(R"({"id":"THDR","offset":12,"length":10})"));
    EXPECT_EQ(map["chunks"][1]["id"], "KIDS");
    EXPECT_EQ(map["chunks"][2]["id"], "BODY");
    EXPECT_EQ(map["chunks"][2]["length"], 80 * 50 * 12);

    Json picture = Json::parse(MapTool({"info", InWork("testpbm.lbm")}).out);
    EXPECT_EQ(
        picture,
        Json::parse(R"({"type":"pbm","width":320,"height":200,"compression":1,"colors":256})"));

    Json tileset = Json::parse(MapTool({"info", InWork("DEMO.TIL")}).out);
    EXPECT_EQ(tileset["type"], "tileset");
    EXPECT_EQ(tileset["tiles"].size(), 47u);
    EXPECT_EQ(tileset["tiles"][9], Json::parse(R"({"id":10,"file":"SHEET1.LBM","x":32,"y":32})"));
    EXPECT_EQ(tileset["faulty"], Json::array());

    Json palette = Json::parse(MapTool({"info", InWork("DEMO.TPL")}).out);
    EXPECT_EQ(palette["type"], "palette");
    formats::TilePaletteIds ids = formats::ReadTilePalette(WorkDir() / "DEMO.TPL");
    EXPECT_EQ(palette["ids"], Json(ids));

    // a tile set with a line that lacks a word reports it by line number
    std::ofstream(WorkDir() / "faulty.til") << "BLOKTEXT\nWIDTH=32\nTILE 5\nTILE 6 SIGN.LBM\n";
    Json faulty = Json::parse(MapTool({"info", InWork("faulty.til")}).out);
    EXPECT_EQ(faulty["faulty"], Json::parse("[3]"));
    EXPECT_EQ(faulty["tiles"].size(), 1u);

    std::ofstream(WorkDir() / "other.txt") << "hello\n";
    ExpectOneErrorLine(MapTool({"info", InWork("other.txt")}));
}

TEST(MaptoolDecode, EveryDecoderKeepsColourIndicesAndEncodeReversesIt) {
    formats::TPBMImage original(WorkDir() / "testpbm.lbm");
    for (const char* decoder : {"editor", "image", "stream"}) {
        SCOPED_TRACE(decoder);
        std::string png = InWork(std::string("test_") + decoder + ".png");
        Result r = MapTool({"decode", InWork("testpbm.lbm"), png, "--as", decoder});
        ASSERT_EQ(r.code, 0) << r.err;
        maptool::IndexedPicture decoded = maptool::ReadIndexedPng(png);
        EXPECT_EQ(decoded.width, 320);
        EXPECT_EQ(decoded.height, 200);
        EXPECT_EQ(decoded.pixels, original.Pixels);
        ASSERT_EQ(decoded.Colours(), 256);
        EXPECT_TRUE(std::equal(decoded.rgb.begin(), decoded.rgb.end(), original.Palette));
    }
    std::string png = InWork("test_image.png");
    for (bool raw : {false, true}) {
        std::string lbm = InWork(raw ? "again_raw.lbm" : "again.lbm");
        maptool::Arguments args{"encode", png, lbm};
        if (raw) args.push_back("--raw");
        ASSERT_EQ(MapTool(args).code, 0);
        formats::TPBMImage again(lbm);
        EXPECT_EQ(again.Bmhd.compression, raw ? 0 : 1);
        EXPECT_EQ(again.Pixels, original.Pixels);
        EXPECT_TRUE(std::equal(again.Palette, again.Palette + 768, original.Palette));
    }
    // the decoders differ on colour 1 in literal runs: the editor drops it
    uint8_t one[2] = {5, 1}, rgb[6] = {};
    formats::WritePbmFile(WorkDir() / "ones.lbm", 2, 1, one, rgb, 2, true);
    for (auto [decoder, second] : {std::pair{"editor", 0}, std::pair{"stream", 1}}) {
        ASSERT_EQ(MapTool({"decode", InWork("ones.lbm"), InWork("ones.png"), "--as", decoder}).code,
                  0);
        EXPECT_EQ(maptool::ReadIndexedPng(InWork("ones.png")).pixels,
                  (std::vector<uint8_t>{5, uint8_t(second)}))
            << decoder;
    }
    ExpectOneErrorLine(
        MapTool({"decode", InWork("testpbm.lbm"), InWork("x.png"), "--as", "paint"}));
}

TEST(MaptoolEncode, UnpacksSmallDepthsAndRefusesColourPngs) {
    const std::vector<uint8_t> rgb = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
    const std::vector<uint8_t> indices = {0, 1, 2, 3, 3, 2, 1, 0, 2, 2, 3, 1};
    for (int depth : {2, 4, 8}) {
        SCOPED_TRACE(depth);
        std::string png = InWork("small" + std::to_string(depth) + ".png");
        ASSERT_TRUE(WriteTestPng(png, 4, 3, PNG_COLOR_TYPE_PALETTE, depth, indices, rgb));
        ASSERT_EQ(MapTool({"encode", png, InWork("small.lbm"), "--raw"}).code, 0);
        formats::TPBMImage image(WorkDir() / "small.lbm");
        EXPECT_EQ(image.Width(), 4);
        EXPECT_EQ(image.Pixels, indices);
        EXPECT_EQ(image.PaletteColours, 4);
        EXPECT_EQ(image.Palette[3], 255);
    }
    ASSERT_TRUE(WriteTestPng(InWork("bits.png"), 9, 1, PNG_COLOR_TYPE_PALETTE, 1,
                             {1, 0, 1, 1, 0, 0, 0, 1, 1}, {0, 0, 0, 9, 9, 9}));
    ASSERT_EQ(MapTool({"encode", InWork("bits.png"), InWork("bits.lbm"), "--raw"}).code, 0);
    EXPECT_EQ(formats::TPBMImage(WorkDir() / "bits.lbm").Pixels,
              (std::vector<uint8_t>{1, 0, 1, 1, 0, 0, 0, 1, 1}));

    ASSERT_TRUE(WriteTestPng(InWork("rgb.png"), 2, 1, PNG_COLOR_TYPE_RGB, 8, {1, 2, 3, 4, 5, 6}));
    Result refused = MapTool({"encode", InWork("rgb.png"), InWork("rgb.lbm")});
    ExpectOneErrorLine(refused);
    EXPECT_NE(refused.err.find("rgb.png is not an indexed-colour PNG"), std::string::npos);
    EXPECT_FALSE(fs::exists(WorkDir() / "rgb.lbm"));
    ExpectOneErrorLine(MapTool({"encode", InWork("DEMO.TIL"), InWork("til.lbm")})); // not a PNG
}

TEST(MaptoolDump, PrintsEveryCellWithLayersInOrder) {
    formats::MapData map;
    map.width = 2;
    map.height = 2;
    map.tileSet = "NONE.TIL";
    map.cells.resize(4);
    map.cells[1] = {1, 2, 3, 4, 0x1602, 0x0307}; // attributes word, then arguments word
    map.cells[2].back = 65535;
    formats::WriteMapData(WorkDir() / "tiny.map", map);
    Result r = MapTool({"dump", InWork("tiny.map"), "--as", "editor"});
    ASSERT_EQ(r.code, 0) << r.err;
    // layer 4 holds the arguments, layer 5 the attribute codes
    EXPECT_EQ(r.out, "0 0 0 0 0 0 0 0\n"
                     "1 0 1 2 3 4 775 5634\n"
                     "0 1 65535 0 0 0 0 0\n"
                     "1 1 0 0 0 0 0 0\n");

    Result demo = MapTool({"dump", InWork("demo.map")});
    ASSERT_EQ(demo.code, 0);
    formats::MapData level = demo::BuildDemoLevel();
    std::istringstream lines(demo.out);
    std::string line;
    size_t index = 0;
    while (std::getline(lines, line)) {
        ASSERT_LT(index, level.cells.size());
        const formats::MapCell& c = level.cells[index];
        std::ostringstream expected;
        expected << index % 80 << ' ' << index / 80 << ' ' << c.back << ' ' << c.middle << ' '
                 << c.fore << ' ' << c.collision << ' ' << c.arguments << ' ' << c.attributes;
        ASSERT_EQ(line, expected.str());
        ++index;
    }
    EXPECT_EQ(index, level.cells.size());

    ExpectOneErrorLine(MapTool({"dump", InWork("demo.map"), "--as", "bogus"}));
    ExpectOneErrorLine(MapTool({"dump", InWork("testpbm.lbm")})); // not a map
}

TEST(MaptoolProgram, FailsWithOneLineOnDamagedFilesAndBadUsage) {
    std::vector<uint8_t> map = formats::ReadWholeFile(WorkDir() / "demo.map");
    WriteBytes(WorkDir() / "cut.map", std::vector<uint8_t>(map.begin(), map.begin() + 200));
    std::vector<uint8_t> picture = formats::ReadWholeFile(WorkDir() / "testpbm.lbm");
    WriteBytes(WorkDir() / "cut.lbm", std::vector<uint8_t>(picture.begin(), picture.begin() + 30));

    const std::string cutMap = "'" + InWork("cut.map") + "'";
    const std::string cutPicture = "'" + InWork("cut.lbm") + "'";
    for (const std::string& args :
         {"info " + cutMap, "dump " + cutMap, "info " + cutPicture,
          "decode " + cutPicture + " '" + InWork("cut.png") + "'", std::string("info /nonexistent"),
          std::string(""), std::string("frobnicate"), std::string("info"),
          "decode " + cutPicture + " --bogus x"}) {
        SCOPED_TRACE(args);
        ExpectOneErrorLine(RunProgram(args));
    }
    EXPECT_FALSE(fs::exists(WorkDir() / "cut.png"));

    Result ok = RunProgram("info '" + InWork("smile.bbm") + "'");
    EXPECT_EQ(ok.code, 0);
    EXPECT_EQ(ok.err, "");
    EXPECT_EQ(Json::parse(ok.out)["width"], 32);
    Result help = RunProgram("--help");
    EXPECT_EQ(help.code, 0);
    for (const maptool::Command& c : maptool::Commands()) {
        EXPECT_NE(help.out.find(std::string("maptool ") + c.name), std::string::npos);
    }
}

TEST(MaptoolArguments, SplitsOptionsAndChecksCounts) {
    maptool::ParsedArguments p =
        maptool::ParseArguments({"a.lbm", "--as=stream", "b.png"}, 2, {"--as"}, {"--raw"});
    EXPECT_EQ(p.positional, (std::vector<std::string>{"a.lbm", "b.png"}));
    EXPECT_EQ(p.Value("--as", "image"), "stream");
    EXPECT_FALSE(p.Has("--raw"));
    p = maptool::ParseArguments({"--raw", "x", "--as", "editor"}, 1, {"--as"}, {"--raw"});
    EXPECT_TRUE(p.Has("--raw"));
    EXPECT_EQ(p.Value("--as", ""), "editor");
    EXPECT_EQ(p.Value("--other", "fallback"), "fallback");
    using maptool::UsageError;
    EXPECT_THROW(maptool::ParseArguments({"x", "--as"}, 1, {"--as"}), UsageError);
    EXPECT_THROW(maptool::ParseArguments({"x", "--raw=1"}, 1, {}, {"--raw"}), UsageError);
    EXPECT_THROW(maptool::ParseArguments({"x", "--pretty"}, 1, {}), UsageError);
    EXPECT_THROW(maptool::ParseArguments({"x", "y"}, 1, {}), UsageError);
    EXPECT_THROW(maptool::ParseArguments({}, 1, {}), UsageError);
}

TEST(MaptoolDetect, TellsTypesApartByContentEvenInShortFiles) {
    using maptool::FileKind;
    auto kindOf = [](const std::string& name, const std::string& bytes) {
        std::ofstream(WorkDir() / name, std::ios::binary) << bytes;
        return maptool::DetectFileKind(WorkDir() / name);
    };
    EXPECT_EQ(kindOf("empty", ""), FileKind::Unknown);
    EXPECT_EQ(kindOf("form", "FORM"), FileKind::Unknown);
    EXPECT_EQ(kindOf("zmap", std::string("FORM\0\0\0\0ZMAP", 12)), FileKind::Map);
    EXPECT_EQ(kindOf("pbm", std::string("FORM\0\0\0\0PBM ", 12)), FileKind::Picture);
    EXPECT_EQ(kindOf("ilbm", std::string("FORM\0\0\0\0ILBM", 12)), FileKind::Unknown);
    EXPECT_EQ(kindOf("pal", "TILE PAL"), FileKind::TilePalette);
    EXPECT_EQ(kindOf("til", "BLOKTEXT\r\n"), FileKind::TileSet);
    EXPECT_EQ(kindOf("lower", "blocktext\n"), FileKind::Unknown);
    // a FORM length of 0 holds no chunks: an empty map, not an error
    Json empty = Json::parse(MapTool({"info", InWork("zmap")}).out);
    EXPECT_EQ(empty["width"], 0);
    EXPECT_EQ(empty["chunks"], Json::array());
    // recognised but damaged: the reader's complaint, on one line
    ExpectOneErrorLine(MapTool({"info", InWork("pal")}));
    ExpectOneErrorLine(MapTool({"info", InWork("empty")}));
}

TEST(MaptoolEncode, WritesTheUsualFormLengthAndEveryDecoderReadsBothForms) {
    // An odd width gives pad bytes in raw rows; colour 1 is left out, since the
    // decoders turn it into 0.
    const int width = 37, height = 5;
    std::vector<uint8_t> indices(size_t(width) * height);
    for (size_t i = 0; i < indices.size(); ++i)
        indices[i] = uint8_t(i % 7 < 3 ? 9 : (i * 5) % 256 == 1 ? 2 : (i * 5) % 256);
    std::vector<uint8_t> rgb(768);
    for (size_t i = 0; i < rgb.size(); ++i)
        rgb[i] = uint8_t(i * 3);
    ASSERT_TRUE(
        WriteTestPng(InWork("form.png"), width, height, PNG_COLOR_TYPE_PALETTE, 8, indices, rgb));
    formats::WritePbmFile(WorkDir() / "whole.lbm", width, height, indices.data(), rgb.data(), 256,
                          true);
    for (const char* raw : {"", "--raw"}) {
        SCOPED_TRACE(raw);
        maptool::Arguments encode{"encode", InWork("form.png"), InWork("usual.lbm")};
        if (*raw) encode.push_back(raw);
        ASSERT_EQ(MapTool(encode).code, 0);
        for (const char* file : {"usual.lbm", "whole.lbm"}) {
            SCOPED_TRACE(file);
            const std::vector<uint8_t> bytes = formats::ReadWholeFile(WorkDir() / file);
            ASSERT_GT(bytes.size(), 8u);
            const uint32_t formLength =
                uint32_t(bytes[4]) << 24 | bytes[5] << 16 | bytes[6] << 8 | bytes[7];
            EXPECT_EQ(formLength,
                      std::string(file) == "usual.lbm" ? bytes.size() - 8 : bytes.size());
            // Only the runtime's image class honours raw rows; the other two
            // always decode ByteRun1.
            const bool rawRows = *raw && std::string(file) == "usual.lbm";
            for (const char* decoder : {"editor", "image", "stream"}) {
                SCOPED_TRACE(decoder);
                if (rawRows && std::string(decoder) != "image") continue;
                ASSERT_EQ(
                    MapTool({"decode", InWork(file), InWork("back.png"), "--as", decoder}).code, 0);
                EXPECT_EQ(maptool::ReadIndexedPng(InWork("back.png")).pixels, indices);
            }
        }
    }
}

TEST(MaptoolFiles, OnlyRegularFilesAreReadOrReplaced) {
    const fs::path pipe = WorkDir() / "pipe";
    fs::remove(pipe);
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
    // A named pipe as the picture to encode is refused at once; `timeout`
    // turns a hang into a failure.
    const std::string bounded = "timeout 20 ";
    ExpectOneErrorLine(
        RunProgram("encode '" + pipe.string() + "' '" + InWork("p.lbm") + "'", bounded));

    // Outputs that are not regular files are refused and left as they were: a
    // pipe, and where the system lets us make one, a device like /dev/full.
    std::vector<fs::path> outputs{pipe};
    const fs::path device = WorkDir() / "full";
    fs::remove(device);
    if (mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0)
        outputs.push_back(device);
    else
        std::printf("Cannot make a device node here: only a pipe is tried as an output.\n");
    for (const fs::path& out : outputs) {
        SCOPED_TRACE(out);
        ExpectOneErrorLine(
            RunProgram("decode '" + InWork("testpbm.lbm") + "' '" + out.string() + "'", bounded));
        ExpectOneErrorLine(
            RunProgram("encode '" + InWork("form.png") + "' '" + out.string() + "'", bounded));
        struct stat info {};
        ASSERT_EQ(lstat(out.c_str(), &info), 0);
        EXPECT_TRUE(out == pipe ? S_ISFIFO(info.st_mode) : S_ISCHR(info.st_mode));
    }

    // A file-size limit fails the write with its own message; the previous
    // file stays whole.
    const fs::path png = WorkDir() / "kept.png";
    ASSERT_EQ(MapTool({"decode", InWork("smile.bbm"), png.string()}).code, 0);
    const std::vector<uint8_t> before = formats::ReadWholeFile(png);
    Result limited = RunProgram("decode '" + InWork("testpbm.lbm") + "' '" + png.string() + "'",
                                "ulimit -f 2; ");
    ExpectOneErrorLine(limited);
    EXPECT_NE(limited.err.find("File too large"), std::string::npos) << limited.err;
    EXPECT_EQ(formats::ReadWholeFile(png), before);
}
