#include "panel/form1_layout.h"

#include <stdexcept>

namespace quenzart {
namespace {

using K = ControlKind;
using C = ControlId;

// clang-format off
constexpr ControlLayout kControls[] = {
  // id            name        idx kind            in         caption or default text        left  top   width height tab font
  {C::Label1_0,  "Label1",    0, K::Label,        {},        u"服务器名",                     240,  360,  975, 255,  3, 10.5},
  {C::Text1_0,   "Text1",     0, K::TextBox,      {},        u"Tamberlow",                   1680,  240, 3135, 375,  0,  9},
  {C::Label1_1,  "Label1",    1, K::Label,        {},        u"服务器所在地",                 5040,  360, 1335, 255,  4, 10.5},
  {C::Text1_1,   "Text1",     1, K::TextBox,      {},        u"",                            7200,  240, 2175, 375,  1,  9},
  {C::Label1_2,  "Label1",    2, K::Label,        {},        u"主页",                         240,  960,  975, 255,  5, 10.5},
  {C::Text1_2,   "Text1",     2, K::TextBox,      {},        u"http://",                     1680,  840, 3135, 375,  2,  9},
  {C::Label1_3,  "Label1",    3, K::Label,        {},        u"最多用户数",                   5040,  960, 1215, 255,  7, 10.5},
  {C::Text1_3,   "Text1",     3, K::TextBox,      {},        u"50",                          7200,  840, 2175, 375,  6,  9},
  {C::Label1_4,  "Label1",    4, K::Label,        {},        u"服务端口",                      240, 1560,  975, 255,  8, 10.5},
  {C::Text1_4,   "Text1",     4, K::TextBox,      {},        u"27888",                       1680, 1440, 1095, 375, 12,  9},
  {C::Label1_6,  "Label1",    6, K::Label,        {},        u"服务器IP",                     5040, 1560, 1095, 255,  9, 10.5},
  {C::Text1_5,   "Text1",     5, K::TextBox,      {},        u"",                            7200, 1440, 2175, 375, 16,  9},
  {C::Label1_7,  "Label1",    7, K::Label,        {},        u"最大Ping时间限制 (ms)",          240, 2400, 2415, 255, 10, 10.5},
  {C::Text1_8,   "Text1",     8, K::TextBox,      {},        u"0",                           2880, 2280,  975, 375, 20,  9},
  {C::Frame1,    "Frame1",   -1, K::Frame,        {},        u"联机类型",                     4920, 2160, 4455, 855, 13, 10.5},
  {C::Option1,   "Option1",  -1, K::OptionButton, C::Frame1, u"局域网",                        480,  240, 1095, 375, 14,  9},
  {C::Option2,   "Option2",  -1, K::OptionButton, C::Frame1, u"Internet",                     1920,  240, 1335, 375, 15,  9, false, true, true},
  {C::Frame2,    "Frame2",   -1, K::Frame,        {},        u"消息限制",                      240, 3360, 3615, 1095, 17, 10.5},
  {C::Text3,     "Text3",    -1, K::TextBox,      C::Frame2, u"5",                             240,  360,  495, 375, 30, 10.5, false, true, false, true},
  {C::Label2,    "Label2",   -1, K::Label,        C::Frame2, u"秒内允许发送消息",                840,  480, 1455, 255, 18,  9},
  {C::Text4,     "Text4",    -1, K::TextBox,      C::Frame2, u"3",                            2520,  360,  495, 375, 31, 10.5, false, true, false, true},
  {C::Label3,    "Label3",   -1, K::Label,        C::Frame2, u"条",                           3120,  480,  255, 255, 19,  9},
  {C::Label1_8,  "Label1",    8, K::Label,        {},        u"公告信息",                     4920, 3120, 1575, 255, 11, 10.5},
  {C::Text2,     "Text2",    -1, K::TextBox,      {},        u"欢迎光临！\r\n",                4920, 3480, 4455, 975, 29,  9, false, true, false, false, true},
  {C::Frame3,    "Frame3",   -1, K::Frame,        {},        u"连接速度类型上限",                240, 4800, 9135, 975, 21, 10.5},
  {C::Option3_0, "Option3",   0, K::OptionButton, C::Frame3, u"禁用",                          240,  360,  975, 375, 22,  9, false, true, true},
  {C::Option3_1, "Option3",   1, K::OptionButton, C::Frame3, u"差的10fps",                    1440,  360,  975, 375, 23,  9},
  {C::Option3_2, "Option3",   2, K::OptionButton, C::Frame3, u"低速12fps",                    2640,  360,  975, 375, 24,  9},
  {C::Option3_3, "Option3",   3, K::OptionButton, C::Frame3, u"一般15fps",                    3840,  360,  975, 375, 25,  9},
  {C::Option3_4, "Option3",   4, K::OptionButton, C::Frame3, u"好的20fps",                    5040,  360,  975, 375, 26,  9},
  {C::Option3_5, "Option3",   5, K::OptionButton, C::Frame3, u"较好30fps",                    6240,  360,  975, 375, 27,  9},
  {C::Option3_6, "Option3",   6, K::OptionButton, C::Frame3, u"局域网速60fps",                 7440,  360, 1335, 375, 28,  9},
  {C::Label4,    "Label4",   -1, K::Label,        {},        u"",                             240, 6360, 3495, 375, 32, 10.5, true, true, false, false, false, true},
  {C::command1,  "command1", -1, K::Button,       {},        u"服务启动",                     4200, 6240, 1335, 495, 36, 10.5},
  {C::command2,  "command2", -1, K::Button,       {},        u"服务停止",                     6000, 6240, 1215, 495, 35, 10.5, false, false},
  {C::Command5,  "Command5", -1, K::Button,       {},        u"查看服务器状态",                 7680, 6240, 1695, 495, 37, 10.5, false, false},
  {C::Command3,  "Command3", -1, K::Button,       {},        u"关于",                         7680, 6960,  855, 495, 34, 10.5},
  {C::command4,  "command4", -1, K::Button,       {},        u"退出",                         8760, 6960,  735, 495, 33, 10.5},
};
// clang-format on

constexpr WindowLayout kForm1{u"QuenzartServer GUI", 9690, 7650, 10.5, true, kControls};

struct FieldLabel {
  ControlId field;
  ControlId label;
};
constexpr FieldLabel kFieldLabels[] = {
    {C::Text1_0, C::Label1_0}, {C::Text1_1, C::Label1_1}, {C::Text1_2, C::Label1_2},
    {C::Text1_3, C::Label1_3}, {C::Text1_4, C::Label1_4}, {C::Text1_5, C::Label1_6},
    {C::Text1_8, C::Label1_7}, {C::Text3, C::Label2},     {C::Text4, C::Label3},
    {C::Text2, C::Label1_8},
};

}  // namespace

const WindowLayout& Form1Layout() {
  return kForm1;
}

const ControlLayout& LayoutOf(ControlId id) {
  for (const ControlLayout& control : kControls) {
    if (control.id == id) return control;
  }
  throw std::logic_error("control without a layout");
}

std::optional<ControlId> LabelOf(ControlId field) {
  for (const FieldLabel& entry : kFieldLabels) {
    if (entry.field == field) return entry.label;
  }
  return std::nullopt;
}

}  // namespace quenzart
