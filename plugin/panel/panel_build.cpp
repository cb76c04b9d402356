// The point editor panel's items: created in their fixed layout with their texts, pictures,
// tooltips and number set-up, then put into the panel's empty state.
#include <cstdint>

#include "panel/panel_callbacks.hpp"
#include "panel/panel_items.hpp"
#include "panel/panel_lifecycle.hpp"
#include "panel/panel_status.hpp"
#include "resources/resource_ids.hpp"
#include "sqsdk/suites/adm_basic.h"
#include "sqsdk/suites/adm_dialog.h"
#include "sqsdk/suites/adm_drawer.h"
#include "sqsdk/suites/adm_item.h"
#include "sqsdk/suites/adm_tracker.h"

namespace sq {

namespace {

enum class Kind { Text, Picture, Field, Frame, Button };

struct ItemRecord {
  int32_t id;
  Kind kind;
  AIRect bounds;
  const char* text = nullptr;
  int32_t picture = 0;
  int32_t disabledPicture = 0;
  const char* tip = nullptr;
  bool hidden = false;
};

// Every item in the order of creation, which is also the order of drawing.
const ItemRecord kItems[] = {
    {kStatusLine, Kind::Text, {4, 10, 200, 22}, "No paths selected"},
    {kRedundantWarning,
     Kind::Text,
     {200, 10, 204, 22},
     "!",
     0,
     0,
     "There are redundant points on one or more selected paths",
     true},
    {kLinkMark, Kind::Picture, {11, 151, 16, 165}, nullptr, kLinkMarkPicture, 0, nullptr, true},
    {kAnchorXLabel, Kind::Text, {29, 78, 39, 90}, "X:"},
    {kInXLabel, Kind::Text, {29, 112, 39, 124}, "X:"},
    {kInLengthLabel, Kind::Text, {30, 135, 39, 147}, "L:"},
    {kOutXLabel, Kind::Text, {29, 169, 39, 181}, "X:"},
    {kOutLengthLabel, Kind::Text, {30, 192, 39, 204}, "L:"},
    {kAnchorYLabel, Kind::Text, {120, 78, 130, 90}, "Y:"},
    {kInYLabel, Kind::Text, {120, 112, 130, 124}, "Y:"},
    {kOutYLabel, Kind::Text, {120, 169, 130, 181}, "Y:"},
    {kInAngleMark,
     Kind::Picture,
     {114, 138, 129, 147},
     nullptr,
     kAngleMarkPicture,
     kAngleMarkDisabledPicture},
    {kOutAngleMark,
     Kind::Picture,
     {114, 195, 129, 204},
     nullptr,
     kAngleMarkPicture,
     kAngleMarkDisabledPicture},
    {kAnchorXField, Kind::Field, {40, 76, 110, 92}},
    {kAnchorYField, Kind::Field, {131, 76, 201, 92}},
    {kInXField, Kind::Field, {40, 110, 110, 126}},
    {kInYField, Kind::Field, {131, 110, 201, 126}},
    {kInLengthField, Kind::Field, {40, 133, 110, 149}},
    {kInAngleField, Kind::Field, {131, 133, 201, 149}},
    {kOutXField, Kind::Field, {40, 167, 110, 183}},
    {kOutYField, Kind::Field, {131, 167, 201, 183}},
    {kOutLengthField, Kind::Field, {40, 190, 110, 206}},
    {kOutAngleField, Kind::Field, {131, 190, 201, 206}},
    {kAnchorMark,
     Kind::Picture,
     {5, 82, 23, 88},
     nullptr,
     kAnchorMarkPicture,
     kAnchorMarkDisabledPicture},
    {kInMark, Kind::Picture, {5, 122, 23, 128}, nullptr, kInMarkPicture, kInMarkDisabledPicture},
    {kOutMark, Kind::Picture, {5, 179, 23, 185}, nullptr, kOutMarkPicture, kOutMarkDisabledPicture},
    {kInLabel, Kind::Text, {10, 127, 20, 139}, "In"},
    {kOutLabel, Kind::Text, {5, 184, 23, 196}, "Out"},
    {28, Kind::Frame, {4, 66, 202, 68}},
    {29, Kind::Frame, {4, 100, 202, 102}},
    {30, Kind::Frame, {4, 157, 202, 159}},
    {31, Kind::Frame, {4, 225, 202, 227}},
    {kRetractButton,
     Kind::Button,
     {4, 33, 34, 58},
     nullptr,
     kRetractPicture,
     kRetractDisabledPicture,
     "Retract handles (Alt-click to swap handles)"},
    {kSmoothButton,
     Kind::Button,
     {46, 33, 76, 58},
     nullptr,
     kSmoothPicture,
     kSmoothDisabledPicture,
     "Convert to smooth point (Alt-click to extend new handles)"},
    {kCornerButton,
     Kind::Button,
     {88, 33, 118, 58},
     nullptr,
     kCornerPicture,
     kCornerDisabledPicture,
     "Convert to corner point"},
    {kSplitButton,
     Kind::Button,
     {130, 33, 160, 58},
     nullptr,
     kSplitPicture,
     kSplitDisabledPicture,
     "Split path"},
    {kSmartRemoveButton,
     Kind::Button,
     {172, 33, 202, 58},
     nullptr,
     kSmartRemovePicture,
     kSmartRemoveDisabledPicture,
     "Smart remove point(s) and close path (Alt-click to use regular remove)"},
    {kPreviousPointButton,
     Kind::Button,
     {155, 232, 175, 248},
     nullptr,
     kPreviousPointPicture,
     kPreviousPointDisabledPicture,
     "Select previous point on path"},
    {kNextPointButton,
     Kind::Button,
     {181, 232, 201, 248},
     nullptr,
     kNextPointPicture,
     kNextPointDisabledPicture,
     "Select next point on path"},
    {kFirstPointButton,
     Kind::Button,
     {127, 232, 202, 248},
     nullptr,
     kFirstPointWordsPicture,
     kFirstPointWordsPicture,
     "Select first point on path",
     true},
    {kIndexLine, Kind::Text, {4, 234, 152, 246}, ""},
    {kIncrementButton, Kind::Button, {40, 53, 100, 71}, nullptr, kIncrementWordsPicture},
    {kScaleButton, Kind::Button, {40, 80, 100, 98}, nullptr, kScaleWordsPicture},
    {kRotateButton, Kind::Button, {40, 107, 100, 125}, nullptr, kRotateWordsPicture},
    {kSetLengthButton, Kind::Button, {40, 160, 100, 178}, nullptr, kSetLengthWordsPicture},
    {kSetAngleButton, Kind::Button, {40, 187, 100, 205}, nullptr, kSetAngleWordsPicture},
    {kIncrementField, Kind::Field, {107, 54, 167, 70}},
    {kScaleField, Kind::Field, {107, 81, 167, 97}},
    {kRotateField, Kind::Field, {107, 108, 167, 124}},
    {kSetLengthField, Kind::Field, {107, 161, 167, 177}},
    {kSetAngleField, Kind::Field, {107, 188, 167, 204}},
    {kPercentLabel, Kind::Text, {167, 83, 179, 95}, "%"},
    {kRelativeFrame, Kind::Frame, {6, 33, 200, 135}, "Relative adjustments"},
    {kAbsoluteFrame, Kind::Frame, {6, 140, 200, 217}, "Absolute adjustments"},
    {kModeLine, Kind::Text, {4, 234, 200, 246}, ""},
};

const char* typeOf(Kind kind) {
  switch (kind) {
    case Kind::Text:
      return kADMTextStaticType;
    case Kind::Picture:
      return kADMPictureStaticType;
    case Kind::Field:
      return kADMTextEditType;
    case Kind::Frame:
      return kADMFrameType;
    case Kind::Button:
      return kADMPicturePushButtonType;
  }
  return kADMTextStaticType;
}

// A picture item clears its area before it draws, so nothing of an earlier look shows through.
AIErr drawPicture(ADMItemRef item, ADMDrawerRef drawer) {
  return RunPanelCallback<AIErr>(kNoErr, kCantHappenErr, [&](PluginState&) {
    const auto* draw = SuiteAs<ADMDrawerSuite>(SuiteId::ADMDrawer);
    AIRect area{};
    if (draw->GetBoundsRect(drawer, &area) == kNoErr) draw->ClearRect(drawer, &area);
    return SuiteAs<ADMItemSuite>(SuiteId::ADMItem)->DefaultDraw(item, drawer);
  });
}

// How a number field shows its value.
struct FieldSpec {
  int32_t id;
  int32_t units;      // kADMAppUnits1: the host's general units
  bool lengthDigits;  // `precision` decimals, else 3
  bool unitOptions;   // unit entry, arithmetic and units shown (else arithmetic only)
};

constexpr FieldSpec kFields[] = {
    {kAnchorXField, kADMAppUnits1, true, true},     {kAnchorYField, kADMAppUnits1, true, true},
    {kInXField, kADMAppUnits1, true, true},         {kInYField, kADMAppUnits1, true, true},
    {kInLengthField, kADMAppUnits1, true, true},    {kOutXField, kADMAppUnits1, true, true},
    {kOutYField, kADMAppUnits1, true, true},        {kOutLengthField, kADMAppUnits1, true, true},
    {kInAngleField, kADMDegreeUnits, false, true},  {kOutAngleField, kADMDegreeUnits, false, true},
    {kIncrementField, kADMAppUnits1, true, true},   {kScaleField, kADMPercentUnits, false, false},
    {kRotateField, kADMDegreeUnits, false, true},   {kSetLengthField, kADMAppUnits1, true, true},
    {kSetAngleField, kADMDegreeUnits, false, true},
};

double initialValue(const PluginState& s, int32_t id) {
  switch (id) {
    case kIncrementField:
      return s.MHIncrement;
    case kScaleField:
      return s.MHScale;
    case kRotateField:
      return s.MHRotate;
    case kSetLengthField:
      return s.MHSetLength;
    case kSetAngleField:
      return s.MHSetAngle;
    default:
      return 0;
  }
}

void setUpField(const PluginState& s, const FieldSpec& field) {
  const auto* items = SuiteAs<ADMItemSuite>(SuiteId::ADMItem);
  const ADMItemRef item = panelItem(s, field.id);
  if (item == nullptr) return;
  int32_t units = field.units;
  if (units == kADMAppUnits1) SuiteAs<ADMBasicSuite>(SuiteId::ADMBasic)->GetAppUnits(units, &units);
  items->SetUnits(item, units);
  items->SetPrecision(item, field.lengthDigits ? s.settings.precision : 3);
  items->AllowUnits(item, field.unitOptions ? 1 : 0);
  items->ShowUnits(item, field.unitOptions ? 1 : 0);
  items->AllowMath(item, 1);
  if (field.id == kScaleField) {
    items->SetMinFloatValue(item, -20000);
    items->SetMaxFloatValue(item, 20000);
  }
  // The increment amount hears its keys, for Enter and Tab.
  if (field.id == kIncrementField) items->SetMask(item, kADMKeyStrokeMask);
  items->SetFloatValue(item, static_cast<AIReal>(initialValue(s, field.id)));
}

}  // namespace

void BuildPanelItems(PluginState& s) {
  const auto* items = SuiteAs<ADMItemSuite>(SuiteId::ADMItem);
  for (const ItemRecord& record : kItems) {
    ADMItemRef item = nullptr;
    if (items->Create(s.panelDialog, record.id, typeOf(record.kind), &record.bounds, nullptr,
                      &item) != kNoErr) {
      continue;
    }
    if (record.text != nullptr) items->SetText(item, record.text);
    if (record.picture != 0) items->SetPictureID(item, record.picture);
    if (record.disabledPicture != 0) items->SetDisabledPictureID(item, record.disabledPicture);
    if (record.tip != nullptr) items->SetTipString(item, record.tip);
    if (record.kind == Kind::Picture) {
      items->SetDrawProc(item, drawPicture);
      items->SetItemStyle(item, kADMPictureTopLeftStyle);
      items->SetCursorID(item, nullptr, kADMStandardArrowCursorID);
    }
    if (record.id == kRedundantWarning) items->SetFont(item, kADMBoldPaletteFont);
    if (record.hidden) items->Show(item, 0);
  }
  for (const FieldSpec& field : kFields) setUpField(s, field);

  // The empty state: nothing selected to act on, the point group without its stepping buttons.
  enableItems(s, kRetractButton, kSmartRemoveButton, false);
  enableItems(s, kAnchorXLabel, 31, false);
  showItems(s, kAnchorXLabel, 31, true);
  showItems(s, kPreviousPointButton, kFirstPointButton, false);
  showItem(s, kIndexLine, true);
  EnterPointMode(s);
}

}  // namespace sq
