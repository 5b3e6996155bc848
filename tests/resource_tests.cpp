// The icon file and the Windows resources of dosat.exe, read back byte by byte the way
// Windows reads them. The resources are compiled here with windres from ui/win32/dosat.rc.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

unsigned u16(const Bytes& b, std::size_t at) {
  if (at + 2 > b.size()) throw std::out_of_range("read past the end");
  return b[at] | b[at + 1] << 8;
}
std::uint32_t u32(const Bytes& b, std::size_t at) { return u16(b, at) | std::uint32_t(u16(b, at + 2)) << 16; }
std::int32_t s32(const Bytes& b, std::size_t at) { return static_cast<std::int32_t>(u32(b, at)); }

// ---- assets/dosat.ico ----

struct IconEntry {
  unsigned width, height, colours, planes, bits;
  std::uint32_t bytes, offset;
};

std::vector<IconEntry> iconDirectory(const Bytes& ico) {
  std::vector<IconEntry> entries;
  for (unsigned i = 0; i < u16(ico, 4); ++i) {
    const std::size_t at = 6 + 16 * i;
    entries.push_back({ico.at(at), ico.at(at + 1), ico.at(at + 2), u16(ico, at + 4), u16(ico, at + 6),
                       u32(ico, at + 8), u32(ico, at + 12)});
  }
  return entries;
}

Bytes imageBytes(const Bytes& ico, const IconEntry& e) {
  if (std::size_t(e.offset) + e.bytes > ico.size()) return {};
  return Bytes(ico.begin() + e.offset, ico.begin() + e.offset + e.bytes);
}

// One DIB icon image, decoded: colour index and mask bit per pixel, top row first.
struct Dib {
  int size = 0, bits = 0;
  std::vector<std::uint32_t> palette;  // 0x00RRGGBB
  std::vector<std::vector<int>> index;
  std::vector<std::vector<bool>> seeThrough;
};

Dib decode(const Bytes& image) {
  Dib dib;
  dib.size = s32(image, 4);
  dib.bits = u16(image, 14);
  const int n = dib.size;
  for (int i = 0; i < (1 << dib.bits); ++i) dib.palette.push_back(u32(image, 40 + 4 * i) & 0xFFFFFF);
  const std::size_t colourAt = 40 + 4 * dib.palette.size();
  const int colourStride = (n * dib.bits + 31) / 32 * 4, maskStride = (n + 31) / 32 * 4;
  const std::size_t maskAt = colourAt + std::size_t(colourStride) * n;
  for (int y = 0; y < n; ++y) {
    const int row = n - 1 - y;  // bottom-up
    std::vector<int> indices;
    std::vector<bool> mask;
    for (int x = 0; x < n; ++x) {
      const int bit = x * dib.bits;
      const std::uint8_t byte = image.at(colourAt + row * colourStride + bit / 8);
      indices.push_back(byte >> (8 - dib.bits - bit % 8) & ((1 << dib.bits) - 1));
      mask.push_back(image.at(maskAt + row * maskStride + x / 8) >> (7 - x % 8) & 1);
    }
    dib.index.push_back(indices);
    dib.seeThrough.push_back(mask);
  }
  return dib;
}

const fs::path kIcon = DOSAT_ICON_ICO;

TEST(IconFile, HoldsTheThreeClassicImagesOldToolsRead) {
  const Bytes ico = readFile(kIcon);
  ASSERT_GE(ico.size(), 6u) << kIcon;
  EXPECT_EQ(u16(ico, 0), 0u);
  EXPECT_EQ(u16(ico, 2), 1u) << "type 1 is an icon, 2 a cursor";
  const std::vector<IconEntry> entries = iconDirectory(ico);
  ASSERT_EQ(entries.size(), 3u);

  struct Want { unsigned size, bits; };
  const Want want[] = {{32, 1}, {32, 4}, {16, 4}};
  std::uint32_t end = 6 + 16 * 3;
  for (std::size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE("image " + std::to_string(i));
    const IconEntry& e = entries[i];
    const unsigned n = want[i].size, bits = want[i].bits;
    EXPECT_EQ(e.width, n);
    EXPECT_EQ(e.height, n);
    EXPECT_EQ(e.colours, 1u << bits);
    EXPECT_EQ(e.planes, 1u);
    EXPECT_EQ(e.bits, bits);
    // Images packed one after the other, none overlapping and none cut off.
    EXPECT_EQ(e.offset, end);
    end = e.offset + e.bytes;

    const Bytes image = imageBytes(ico, e);
    ASSERT_GE(image.size(), 40u);
    ASSERT_NE(u32(image, 0), 0x474E5089u) << "a PNG image, which Windows before Vista cannot read";
    EXPECT_EQ(u32(image, 0), 40u) << "BITMAPINFOHEADER";
    EXPECT_EQ(s32(image, 4), int(n));
    EXPECT_EQ(s32(image, 8), int(2 * n)) << "height counts the colour bitmap and the mask";
    EXPECT_EQ(u16(image, 12), 1u);
    EXPECT_EQ(u16(image, 14), bits);
    EXPECT_EQ(u32(image, 16), 0u) << "BI_RGB";
    const std::uint32_t pixels = ((n * bits + 31) / 32 * 4 + (n + 31) / 32 * 4) * n;
    EXPECT_EQ(e.bytes, 40 + 4 * (1u << bits) + pixels);
  }
  EXPECT_EQ(end, ico.size()) << "bytes after the last image";
}

TEST(IconFile, MasksShowTheDropAndHideTheBackground) {
  const Bytes ico = readFile(kIcon);
  const std::vector<IconEntry> entries = iconDirectory(ico);
  ASSERT_EQ(entries.size(), 3u);
  for (const IconEntry& e : entries) {
    SCOPED_TRACE(std::to_string(e.width) + "x" + std::to_string(e.height) + " " + std::to_string(e.bits) +
                 "-bit");
    const Dib dib = decode(imageBytes(ico, e));
    const int n = dib.size;
    // An inverted mask would show a square with a drop-shaped hole.
    EXPECT_TRUE(dib.seeThrough[0][0] && dib.seeThrough[0][n - 1] && dib.seeThrough[n - 1][0] &&
                dib.seeThrough[n - 1][n - 1]);
    EXPECT_FALSE(dib.seeThrough[n / 2][n / 2]);
    EXPECT_FALSE(dib.seeThrough[3 * n / 4][n / 2]);

    int visible = 0, xored = 0;
    std::map<std::uint32_t, int> colours;
    for (int y = 0; y < n; ++y)
      for (int x = 0; x < n; ++x) {
        if (!dib.seeThrough[y][x]) {
          ++visible;
          ++colours[dib.palette[dib.index[y][x]]];
        } else if (dib.palette[dib.index[y][x]] != 0) {
          ++xored;
        }
      }
    // Any colour but black under a set mask bit is XOR-ed onto the screen.
    EXPECT_EQ(xored, 0) << "see-through pixels that are not black";
    EXPECT_GT(visible, n * n / 4);
    EXPECT_LT(visible, n * n * 3 / 4);
    // A drawing, not a silhouette: at least an outline and a fill.
    EXPECT_GE(colours.size(), 2u);
    if (dib.bits == 1) {
      EXPECT_EQ(dib.palette, (std::vector<std::uint32_t>{0x000000, 0xFFFFFF}));
    }
  }
}

// ---- ui/win32/dosat.rc compiled by windres ----

std::string shellQuote(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

struct Resource {
  unsigned type = 0;  // ordinal; named types are not used here
  unsigned id = 0;
  unsigned language = 0;
  Bytes data;
};

// The entries of a .res file: a header per resource (size, type, name, language...) and
// its data, each padded to 4 bytes.
std::vector<Resource> parseRes(const Bytes& res) {
  std::vector<Resource> out;
  std::size_t at = 0;
  while (at + 8 <= res.size()) {
    const std::uint32_t dataSize = u32(res, at), headerSize = u32(res, at + 4);
    std::size_t p = at + 8;
    auto ordinal = [&](unsigned& value) {
      if (u16(res, p) == 0xFFFF) {
        value = u16(res, p + 2);
        p += 4;
      } else {  // a name: skip the UTF-16 text
        value = ~0u;
        while (u16(res, p) != 0) p += 2;
        p += 2;
      }
    };
    Resource r;
    ordinal(r.type);
    ordinal(r.id);
    p = (p + 3) & ~std::size_t(3);
    r.language = u16(res, p + 6);
    const std::size_t dataAt = at + headerSize;
    if (dataAt + dataSize > res.size()) throw std::out_of_range(".res entry runs past the end");
    r.data.assign(res.begin() + dataAt, res.begin() + dataAt + dataSize);
    if (r.type != 0) out.push_back(r);  // the file starts with an empty entry
    at = (dataAt + dataSize + 3) & ~std::size_t(3);
  }
  return out;
}

class WindowsResources : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    const std::string windres = DOSAT_WINDRES;
    const std::string cpp = DOSAT_CPP;
    ASSERT_FALSE(windres.empty()) << "x86_64-w64-mingw32-windres not found: run tools/install-deps.sh";
    ASSERT_FALSE(cpp.empty()) << "no C preprocessor (cpp) found";
    // Its own folder as working directory, so that the icon is only found beside the .rc
    // file, as the real build finds it.
    const fs::path dir = fs::temp_directory_path() / ("dosat-rc-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path res = dir / "dosat.res";
    // The host's cpp stands in for the MinGW gcc that windres would call by default.
    const std::string command = "cd " + shellQuote(dir.string()) + " && " + shellQuote(windres) +
                                " --preprocessor=" + shellQuote(cpp) + " --preprocessor-arg=-DRC_INVOKED" +
                                " --include-dir=" + shellQuote(DOSAT_RC_INCLUDE) + " -O res -i " +
                                shellQuote(DOSAT_RC) + " -o " + shellQuote(res.string()) +
                                " 2>" + shellQuote((dir / "windres.log").string());
    const int status = std::system(command.c_str());
    std::ifstream log(dir / "windres.log");
    const std::string messages((std::istreambuf_iterator<char>(log)), {});
    ASSERT_EQ(status, 0) << command << "\n" << messages;
    resources_ = new std::vector<Resource>(parseRes(readFile(res)));
    fs::remove_all(dir);
  }
  static void TearDownTestSuite() {
    delete resources_;
    resources_ = nullptr;
  }
  void SetUp() override { ASSERT_NE(resources_, nullptr) << "windres failed"; }

  static const Resource* find(unsigned type, unsigned id) {
    for (const Resource& r : *resources_)
      if (r.type == type && r.id == id) return &r;
    return nullptr;
  }

  static inline std::vector<Resource>* resources_ = nullptr;
};

constexpr unsigned kRtIcon = 3, kRtGroupIcon = 14, kRtVersion = 16;

TEST_F(WindowsResources, AreAllJapanese) {
  ASSERT_FALSE(resources_->empty());
  for (const Resource& r : *resources_)
    EXPECT_EQ(r.language, 0x0411u) << "type " << r.type << " id " << r.id;
}

TEST_F(WindowsResources, IconGroupOneIsTheIconFile) {
  const Resource* group = find(kRtGroupIcon, 1);
  ASSERT_NE(group, nullptr) << "no icon with id 1";
  const Bytes ico = readFile(kIcon);
  const std::vector<IconEntry> entries = iconDirectory(ico);
  ASSERT_EQ(u16(group->data, 4), entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    SCOPED_TRACE("image " + std::to_string(i));
    const std::size_t at = 6 + 14 * i;  // GRPICONDIRENTRY
    const IconEntry& e = entries[i];
    EXPECT_EQ(group->data.at(at), e.width);
    EXPECT_EQ(group->data.at(at + 1), e.height);
    EXPECT_EQ(group->data.at(at + 2), e.colours);
    EXPECT_EQ(u16(group->data, at + 4), e.planes);
    EXPECT_EQ(u16(group->data, at + 6), e.bits);
    EXPECT_EQ(u32(group->data, at + 8), e.bytes);
    const Resource* image = find(kRtIcon, u16(group->data, at + 12));
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->data == imageBytes(ico, e)) << "RT_ICON differs from the .ico image";
  }
}

// A VS_VERSIONINFO node: length, value length, type (1 text), key, value, children, each
// part aligned to 4 bytes.
struct VersionNode {
  std::u16string key;
  Bytes value;
  unsigned valueLength = 0;
  std::vector<VersionNode> children;
};

VersionNode parseVersionNode(const Bytes& b, std::size_t at) {
  VersionNode node;
  const std::size_t end = at + u16(b, at);
  const unsigned valueLength = u16(b, at + 2), type = u16(b, at + 4);
  std::size_t p = at + 6;
  for (; u16(b, p) != 0; p += 2) node.key += char16_t(u16(b, p));
  p = (p + 2 + 3) & ~std::size_t(3);
  node.valueLength = valueLength;
  const std::size_t valueBytes = type == 1 ? valueLength * 2 : valueLength;  // text counts characters
  if (p + valueBytes > end) throw std::out_of_range("version value runs past its node");
  node.value.assign(b.begin() + p, b.begin() + p + valueBytes);
  p = (p + valueBytes + 3) & ~std::size_t(3);
  while (p < end) {
    node.children.push_back(parseVersionNode(b, p));
    p = (p + u16(b, p) + 3) & ~std::size_t(3);
  }
  return node;
}

const VersionNode* child(const VersionNode& node, const std::u16string& key) {
  for (const VersionNode& c : node.children)
    if (c.key == key) return &c;
  return nullptr;
}

std::u16string text(const Bytes& value) {
  std::u16string s;
  for (std::size_t i = 0; i + 1 < value.size(); i += 2) s += char16_t(u16(value, i));
  while (!s.empty() && s.back() == u'\0') s.pop_back();
  return s;
}

std::string printable(const std::u16string& s) {
  std::ostringstream out;
  for (char16_t c : s) {
    if (c >= 0x20 && c < 0x7F)
      out << char(c);
    else
      out << "\\u" << std::hex << unsigned(c) << std::dec;
  }
  return out.str();
}

struct ProjectVersion {
  unsigned part[4] = {};
};
ProjectVersion projectVersion() {
  ProjectVersion v;
  std::sscanf(DOSAT_PROJECT_VERSION, "%u.%u.%u.%u", &v.part[0], &v.part[1], &v.part[2], &v.part[3]);
  return v;
}

class VersionInfo : public WindowsResources {
 protected:
  void SetUp() override {
    WindowsResources::SetUp();
    const Resource* r = find(kRtVersion, 1);
    ASSERT_NE(r, nullptr) << "no VERSIONINFO with id 1";
    root_ = parseVersionNode(r->data, 0);
    ASSERT_EQ(root_.key, u"VS_VERSION_INFO");
  }
  VersionNode root_;
};

TEST_F(VersionInfo, FixedPartFollowsTheProjectVersion) {
  ASSERT_EQ(root_.value.size(), 52u) << "VS_FIXEDFILEINFO";
  const Bytes& f = root_.value;
  EXPECT_EQ(u32(f, 0), 0xFEEF04BDu);
  const ProjectVersion v = projectVersion();
  const std::uint32_t ms = v.part[0] << 16 | v.part[1], ls = v.part[2] << 16 | v.part[3];
  EXPECT_EQ(u32(f, 8), ms) << "FILEVERSION";
  EXPECT_EQ(u32(f, 12), ls) << "FILEVERSION";
  EXPECT_EQ(u32(f, 16), ms) << "PRODUCTVERSION";
  EXPECT_EQ(u32(f, 20), ls) << "PRODUCTVERSION";
  EXPECT_EQ(u32(f, 28), 0u) << "FILEFLAGS: not a debug or pre-release build";
  EXPECT_EQ(u32(f, 32), 0x40004u) << "FILEOS: 32-bit Windows NT";
  EXPECT_EQ(u32(f, 36), 1u) << "FILETYPE: an application";
}

TEST_F(VersionInfo, StringsAreJapaneseUnicodeAndComplete) {
  const VersionNode* strings = child(root_, u"StringFileInfo");
  ASSERT_NE(strings, nullptr);
  ASSERT_EQ(strings->children.size(), 1u);
  // Language 0411 (Japanese), code page 04B0 (1200, UTF-16).
  const VersionNode* table = child(*strings, u"041104B0");
  ASSERT_NE(table, nullptr) << printable(strings->children[0].key);

  std::map<std::u16string, std::u16string> values;
  for (const VersionNode& v : table->children) values[v.key] = text(v.value);
  // The texts give the version short, as "1.00".
  const ProjectVersion pv = projectVersion();
  char shown[16];
  std::snprintf(shown, sizeof shown, "%u.%02u", pv.part[0], pv.part[1]);
  const std::u16string version(shown, shown + std::char_traits<char>::length(shown));
  EXPECT_EQ(printable(values[u"FileVersion"]), printable(version));
  EXPECT_EQ(printable(values[u"ProductVersion"]), printable(version));
  EXPECT_EQ(printable(values[u"InternalName"]), "dosat");
  EXPECT_EQ(printable(values[u"OriginalFilename"]), "dosat.exe");
  EXPECT_EQ(printable(values[u"ProductName"]), "dosat");
  // Read in the wrong code page, the UTF-8 bytes of the .rc file would turn into other
  // characters here.
  EXPECT_EQ(printable(values[u"FileDescription"]), printable(u"飽和溶存酸素濃度計算"));
  EXPECT_NE(values[u"LegalCopyright"].find(u'©'), std::u16string::npos)
      << printable(values[u"LegalCopyright"]);
  EXPECT_FALSE(values[u"CompanyName"].empty());
  for (const auto& [key, value] : values) {
    EXPECT_FALSE(value.empty()) << printable(key);
    EXPECT_EQ(value.find(u'\uFFFD'), std::u16string::npos) << printable(key);
  }
}

TEST_F(VersionInfo, TranslationNamesTheSameLanguageAndCodePage) {
  const VersionNode* var = child(root_, u"VarFileInfo");
  ASSERT_NE(var, nullptr);
  const VersionNode* translation = child(*var, u"Translation");
  ASSERT_NE(translation, nullptr);
  ASSERT_EQ(translation->value.size(), 4u);
  EXPECT_EQ(u16(translation->value, 0), 0x0411u);
  EXPECT_EQ(u16(translation->value, 2), 1200u);
}

}  // namespace
