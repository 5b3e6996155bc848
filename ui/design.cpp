#include "design.h"

#include <array>

namespace dosat::design {
namespace {

using enum Kind;
constexpr auto kGothic = Font::Gothic12;
constexpr auto kPlain = Font::Default;
constexpr auto kNone = kDefaultColour;
constexpr std::uint32_t kDarkGreen = 0x00008000;
constexpr std::uint32_t kMagenta = 0x00FF00FF;

// Listed top to bottom as they stand in the window. Label2 reaches into
// Label3's area; Label3, made later, lies above it.
constexpr std::array kCalculationControls = {
    Control{"Label5", Label, "適用範囲 :Temp=0～35℃", 900, 255, 3135, 255, 9, kGothic, kDarkGreen},
    Control{"Label6", Label, "Salt=純水～海水", 1965, 615, 2055, 255, 10, kGothic, kDarkGreen},
    Control{"Label1", Label, "水温(℃)", 360, 1170, 1095, 375, 0, kGothic, kNone},
    Control{"Text1", TextBox, "", 3120, 1080, 1095, 390, 3, kGothic, kNone, "Label1", "Label7"},
    Control{"Label7", Label, "( 0～35℃ )", 360, 1470, 1365, 255, 12, kPlain, kNone},
    Control{"Label2", Label, "塩素イオン濃度(mg/L)", 360, 1800, 2295, 495, 1, kGothic, kNone},
    Control{"Text2", TextBox, "", 3120, 1800, 1095, 390, 4, kGothic, kNone, "Label2", "Label3"},
    Control{"Label3", Label, "(海水標準=21000mg/L)", 360, 2115, 1935, 255, 2, kPlain, kNone},
    Control{"Command1", Button, "計算", 840, 2595, 1095, 495, 5, kGothic, kNone},
    Control{"Command2", Button, "クリヤ", 2745, 2580, 1095, 495, 6, kGothic, kNone},
    Control{"Text3", TextBox, "", 3120, 3360, 1095, 375, 8, kGothic, kMagenta, "Label4"},
    Control{"Label4", Label, "飽和溶存酸素濃度(mg/L)", 360, 3480, 2775, 375, 7, kGothic, kNone},
    Control{"Command3", Button, "JIS K0102 溶存酸素(表)", 1200, 4125, 2280, 390, 11, kPlain, kNone},
};

constexpr std::array kTableControls = {
    Control{"Picture1", Picture, "", 195, 345, 7035, 9495, 0, kPlain, kNone},
    Control{"Command1", Button, "戻る", 6090, 9960, 1035, 375, 1, kPlain, kNone},
};

// The leading spaces of both captions push the text towards the middle of the
// title bar: seven ideographic spaces here, 42 ordinary ones for the table.
constexpr std::string_view kCalculationCaption =
    "\u3000\u3000\u3000\u3000\u3000\u3000\u3000溶存酸素濃度(JISK0102)";
constexpr std::string_view kTableCaption =
    "                                          DO(JIS K0102)";
static_assert(kTableCaption.size() == 55 && kTableCaption.find_first_not_of(' ') == 42);

}  // namespace

const Window kCalculationWindow{"ZEPALT", kCalculationCaption, 4665, 4755, kDefaultColour,
                                kCalculationControls};
const Window kTableWindow{"DOData", kTableCaption, 7425, 10485, 0x00FFFFFF, kTableControls};

}  // namespace dosat::design
