#include "panel/form2_layout.h"

namespace quenzart {
namespace {

using K = ControlKind;
using A = AboutControlId;

// The contact lines are placeholders that reach nobody.
// clang-format off
constexpr AboutControlLayout kControls[] = {
  // id          name        idx kind      in         caption                          left  top  width height tab font
  {A::Frame1,   "Frame1",   -1, K::Frame,  {},        u"制作人",                         720,  480, 3495, 735,  0, 10.5},
  {A::Label1,   "Label1",   -1, K::Label,  A::Frame1, u"QuenzartServer GUI 开发组",       240,  360, 1575, 255,  1, 10.5, true, true, false, false, false, true},
  {A::Frame2,   "Frame2",   -1, K::Frame,  {},        u"联系方式",                        720, 1440, 3495, 1215, 2, 10.5},
  {A::Label2,   "Label2",   -1, K::Label,  A::Frame2, u"邮箱：team@example.org",          240,  360, 3135, 255,  3, 10.5, false, true, false, false, false, true},
  {A::Label3,   "Label3",   -1, K::Label,  A::Frame2, u"号码：10000（示例）",               240,  720, 2295, 375,  4, 10.5, false, true, false, false, false, true},
  {A::Command1, "Command1", -1, K::Button, {},        u"确定",                           1680, 2760, 1215, 495,  5, 0},
};
// clang-format on

constexpr AboutWindowLayout kForm2{u"关于", 4680, 3390, 0, false, kControls};

}  // namespace

const AboutWindowLayout& Form2Layout() {
  return kForm2;
}

}  // namespace quenzart
