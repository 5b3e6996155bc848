// Turns the text pixel art of assets/dosat-icon.txt into the program's icon:
//   dosat.ico  three classic DIB images (32x32 2 colours, 32x32 and 16x16 16 colours),
//              no PNG inside, so that every Windows resource compiler and icon editor reads it
//   dosat.png  the 32x32 16-colour image enlarged four times, pixel for pixel
//   dosat.svg  the same image as squares, for desktops that prefer scalable icons
//   and, for each SIZE=FILE given, that image enlarged to SIZE pixels (a whole multiple of
//   its own): the web page's icon and the installed web app's
// Standard library only, and byte for byte the same output from the same text, so that the
// committed files only change when the art does.
//
// usage: make_icon ART ICO PNG SVG [SIZE=PNG]...

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// The 16 colours of the Windows standard palette, in its order. Old 16-colour displays show
// exactly these, so the art uses nothing else and every tool sees the same picture.
constexpr std::array<Rgb, 16> kVga = {{
    {0x00, 0x00, 0x00}, {0x80, 0x00, 0x00}, {0x00, 0x80, 0x00}, {0x80, 0x80, 0x00},
    {0x00, 0x00, 0x80}, {0x80, 0x00, 0x80}, {0x00, 0x80, 0x80}, {0xC0, 0xC0, 0xC0},
    {0x80, 0x80, 0x80}, {0xFF, 0x00, 0x00}, {0x00, 0xFF, 0x00}, {0xFF, 0xFF, 0x00},
    {0x00, 0x00, 0xFF}, {0xFF, 0x00, 0xFF}, {0x00, 0xFF, 0xFF}, {0xFF, 0xFF, 0xFF},
}};

struct Colour {
  bool transparent = false;
  Rgb rgb;
};

struct Image {
  int size = 0;  // square
  int bits = 0;  // 1 or 4
  std::vector<std::string> rows;
};

struct Art {
  std::map<char, Colour> palette;
  std::vector<Image> images;
};

[[noreturn]] void fail(const std::string& what) { throw std::runtime_error(what); }

Rgb parseHex(const std::string& text, int line) {
  unsigned value = 0;
  if (text.size() != 6 || std::sscanf(text.c_str(), "%6x", &value) != 1)
    fail("line " + std::to_string(line) + ": colour must be RRGGBB hex");
  return {static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value)};
}

// '#' starts a comment line; "colour C RRGGBB|none" names a pixel character; "image SIZE BITS"
// is followed by SIZE rows of SIZE characters.
Art readArt(const std::string& path) {
  std::ifstream in(path);
  if (!in) fail("cannot read " + path);
  Art art;
  std::string line;
  int number = 0;
  Image* open = nullptr;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (open && static_cast<int>(open->rows.size()) < open->size) {
      if (static_cast<int>(line.size()) != open->size)
        fail("line " + std::to_string(number) + ": row is not " + std::to_string(open->size) +
             " pixels wide");
      for (char c : line)
        if (!art.palette.contains(c))
          fail("line " + std::to_string(number) + ": no colour for '" + std::string(1, c) + "'");
      open->rows.push_back(line);
      continue;
    }
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string keyword;
    words >> keyword;
    if (keyword == "colour") {
      std::string name, value;
      words >> name >> value;
      if (name.size() != 1) fail("line " + std::to_string(number) + ": one character per colour");
      Colour colour;
      if (value == "none")
        colour.transparent = true;
      else
        colour.rgb = parseHex(value, number);
      art.palette[name[0]] = colour;
    } else if (keyword == "image") {
      Image image;
      words >> image.size >> image.bits;
      if (image.size < 1 || image.size > 255 || (image.bits != 1 && image.bits != 4))
        fail("line " + std::to_string(number) + ": image SIZE (1-255) BITS (1 or 4)");
      art.images.push_back(image);
      open = &art.images.back();
    } else {
      fail("line " + std::to_string(number) + ": unknown keyword '" + keyword + "'");
    }
  }
  if (open && static_cast<int>(open->rows.size()) < open->size) fail(path + ": last image is cut short");
  if (art.images.empty()) fail(path + ": no image");
  return art;
}

void put16(Bytes& out, unsigned v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(Bytes& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}
void put32be(Bytes& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

// Index of the pixel's colour in the image's colour table.
int colourIndex(const Art& art, const Image& image, char c, int x, int y) {
  const Colour& colour = art.palette.at(c);
  // See-through pixels are black in the colour bitmap: with the mask bit set, Windows
  // then leaves the screen untouched instead of inverting it.
  if (colour.transparent) return 0;
  if (image.bits == 1) {
    if (colour.rgb == Rgb{0, 0, 0}) return 0;
    if (colour.rgb == Rgb{0xFF, 0xFF, 0xFF}) return 1;
  } else {
    for (int i = 0; i < 16; ++i)
      if (kVga[i] == colour.rgb) return i;
  }
  fail(std::to_string(image.size) + "x" + std::to_string(image.size) + " " +
       std::to_string(image.bits) + "-bit image: pixel (" + std::to_string(x) + "," +
       std::to_string(y) + ") has a colour outside its palette");
}

// One icon image as it sits in a .ico file and in an RT_ICON resource: BITMAPINFOHEADER,
// colour table, colour bitmap, then the AND mask, both bottom-up with rows padded to 4 bytes.
Bytes dib(const Art& art, const Image& image) {
  const int n = image.size;
  const int colourStride = ((n * image.bits + 31) / 32) * 4;
  const int maskStride = ((n + 31) / 32) * 4;
  Bytes out;
  put32(out, 40);
  put32(out, n);
  put32(out, 2 * n);  // colour bitmap and mask stacked
  put16(out, 1);
  put16(out, image.bits);
  put32(out, 0);  // BI_RGB
  put32(out, (colourStride + maskStride) * n);
  put32(out, 0);
  put32(out, 0);
  put32(out, 0);
  put32(out, 0);
  if (image.bits == 1) {
    for (Rgb c : {Rgb{0, 0, 0}, Rgb{0xFF, 0xFF, 0xFF}}) out.insert(out.end(), {c.b, c.g, c.r, 0});
  } else {
    for (Rgb c : kVga) out.insert(out.end(), {c.b, c.g, c.r, 0});
  }
  Bytes colourBits, maskBits;
  for (int y = n - 1; y >= 0; --y) {
    Bytes colourRow(colourStride, 0), maskRow(maskStride, 0);
    for (int x = 0; x < n; ++x) {
      const char c = image.rows[y][x];
      const int index = colourIndex(art, image, c, x, y);
      if (image.bits == 1)
        colourRow[x / 8] |= static_cast<std::uint8_t>(index << (7 - x % 8));
      else
        colourRow[x / 2] |= static_cast<std::uint8_t>(index << (x % 2 ? 0 : 4));
      if (art.palette.at(c).transparent) maskRow[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
    colourBits.insert(colourBits.end(), colourRow.begin(), colourRow.end());
    maskBits.insert(maskBits.end(), maskRow.begin(), maskRow.end());
  }
  out.insert(out.end(), colourBits.begin(), colourBits.end());
  out.insert(out.end(), maskBits.begin(), maskBits.end());
  return out;
}

Bytes ico(const Art& art) {
  std::vector<Bytes> images;
  for (const Image& image : art.images) images.push_back(dib(art, image));
  Bytes out;
  put16(out, 0);
  put16(out, 1);  // icon, not cursor
  put16(out, static_cast<unsigned>(images.size()));
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const Image& image = art.images[i];
    out.push_back(static_cast<std::uint8_t>(image.size));
    out.push_back(static_cast<std::uint8_t>(image.size));
    out.push_back(static_cast<std::uint8_t>(1u << image.bits));
    out.push_back(0);
    put16(out, 1);
    put16(out, image.bits);
    put32(out, static_cast<std::uint32_t>(images[i].size()));
    put32(out, offset);
    offset += static_cast<std::uint32_t>(images[i].size());
  }
  for (const Bytes& image : images) out.insert(out.end(), image.begin(), image.end());
  return out;
}

std::uint32_t crc32(const Bytes& data, std::size_t from) {
  std::uint32_t crc = 0xFFFFFFFF;
  for (std::size_t i = from; i < data.size(); ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

void pngChunk(Bytes& png, const char* type, const Bytes& data) {
  put32be(png, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = png.size();
  png.insert(png.end(), type, type + 4);
  png.insert(png.end(), data.begin(), data.end());
  put32be(png, crc32(png, start));
}

// zlib stream of stored (uncompressed) deflate blocks: a few kilobytes at most here, and no
// compressor needed.
Bytes zlibStored(const Bytes& raw) {
  Bytes out = {0x78, 0x01};
  std::size_t at = 0;
  do {
    const std::size_t len = std::min<std::size_t>(raw.size() - at, 65535);
    out.push_back(at + len == raw.size() ? 1 : 0);
    put16(out, static_cast<unsigned>(len));
    put16(out, static_cast<unsigned>(~len & 0xFFFF));
    out.insert(out.end(), raw.begin() + at, raw.begin() + at + len);
    at += len;
  } while (at < raw.size());
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  put32be(out, (b << 16) | a);
  return out;
}

// The colours an image uses, transparent first, in the order they first appear.
std::vector<char> usedColours(const Art& art, const Image& image) {
  std::vector<char> used;
  for (const auto& [c, colour] : art.palette)
    if (colour.transparent) used.push_back(c);
  for (const std::string& row : image.rows)
    for (char c : row)
      if (!art.palette.at(c).transparent && std::find(used.begin(), used.end(), c) == used.end())
        used.push_back(c);
  return used;
}

// Indexed 4-bit PNG with a transparent entry, enlarged `scale` times.
Bytes png(const Art& art, const Image& image, int scale) {
  std::vector<char> used = usedColours(art, image);
  if (used.size() > 16) fail("PNG: more than 16 colours");
  const int n = image.size * scale;
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  put32be(header, n);
  put32be(header, n);
  header.insert(header.end(), {4, 3, 0, 0, 0});  // 4-bit, indexed, no interlace
  pngChunk(png, "IHDR", header);
  Bytes plte, trns;
  for (char c : used) {
    const Colour& colour = art.palette.at(c);
    plte.insert(plte.end(), {colour.rgb.r, colour.rgb.g, colour.rgb.b});
    trns.push_back(colour.transparent ? 0 : 255);
  }
  pngChunk(png, "PLTE", plte);
  pngChunk(png, "tRNS", trns);
  Bytes raw;
  for (int y = 0; y < n; ++y) {
    raw.push_back(0);  // no filter
    Bytes row((n + 1) / 2, 0);
    for (int x = 0; x < n; ++x) {
      const char c = image.rows[y / scale][x / scale];
      const auto index = static_cast<std::uint8_t>(std::find(used.begin(), used.end(), c) - used.begin());
      row[x / 2] |= static_cast<std::uint8_t>(index << (x % 2 ? 0 : 4));
    }
    raw.insert(raw.end(), row.begin(), row.end());
  }
  pngChunk(png, "IDAT", zlibStored(raw));
  pngChunk(png, "IEND", {});
  return png;
}

// One rectangle per horizontal run of a colour, so that the drawing stays crisp when scaled.
std::string svg(const Art& art, const Image& image) {
  const int n = image.size;
  std::ostringstream out;
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << n << "\" height=\"" << n
      << "\" viewBox=\"0 0 " << n << ' ' << n << "\" shape-rendering=\"crispEdges\">\n";
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n;) {
      const char c = image.rows[y][x];
      int end = x + 1;
      while (end < n && image.rows[y][end] == c) ++end;
      const Colour& colour = art.palette.at(c);
      if (!colour.transparent) {
        char fill[8];
        std::snprintf(fill, sizeof fill, "#%02x%02x%02x", colour.rgb.r, colour.rgb.g, colour.rgb.b);
        out << "<rect x=\"" << x << "\" y=\"" << y << "\" width=\"" << end - x
            << "\" height=\"1\" fill=\"" << fill << "\"/>\n";
      }
      x = end;
    }
  }
  out << "</svg>\n";
  return out.str();
}

void write(const std::string& path, const std::string& data) {
  std::ofstream out(path, std::ios::binary);
  out.write(data.data(), static_cast<std::streamsize>(data.size()));
  if (!out.flush()) fail("cannot write " + path);
}
void write(const std::string& path, const Bytes& data) {
  write(path, std::string(data.begin(), data.end()));
}

// The picture Linux desktops show: the largest image with the most colours.
const Image& richest(const Art& art) {
  const Image* best = &art.images.front();
  for (const Image& image : art.images)
    if (image.bits > best->bits || (image.bits == best->bits && image.size > best->size)) best = &image;
  return *best;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::cerr << "usage: make_icon ART ICO PNG SVG [SIZE=PNG]...\n";
    return 2;
  }
  try {
    const Art art = readArt(argv[1]);
    const Image& large = richest(art);
    write(argv[2], ico(art));
    write(argv[3], png(art, large, 128 / large.size > 1 ? 128 / large.size : 1));
    write(argv[4], svg(art, large));
    for (int i = 5; i < argc; ++i) {
      const std::string sized = argv[i];
      const std::size_t equals = sized.find('=');
      const int size = equals == std::string::npos ? 0 : std::atoi(sized.substr(0, equals).c_str());
      if (size <= 0 || size % large.size != 0) fail("not a whole multiple of " + std::to_string(large.size) + ": " + sized);
      write(sized.substr(equals + 1), png(art, large, size / large.size));
    }
  } catch (const std::exception& e) {
    std::cerr << "make_icon: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
