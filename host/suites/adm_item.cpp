// "ADM Item Suite": creating items, their callbacks, state, place, text, looks and values.
#include "sqsdk/suites/adm_item.h"

#include <cmath>

#include "render/font_metrics.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/adm_basic.h"
#include "suites/adm_suites.hpp"
#include "suites/suite_support.hpp"

namespace sqhost {
namespace {

template <typename F>
AIErr withItem(ADMItemRef ref, F&& f) {
  return guarded([&]() -> AIErr {
    Item* item = dialogManager().item(ref);
    if (item == nullptr) return kBadHandleErr;
    return f(*item);
  });
}

// Number settings apply to text edit and spin edit popup items, which become number fields.
template <typename F>
AIErr withNumberField(ADMItemRef ref, F&& f) {
  return withItem(ref, [&](Item& item) -> AIErr {
    if (!isEditField(item.type)) return kBadParameterErr;
    dialogManager().makeNumeric(item);
    return f(item);
  });
}

bool isPicture(ItemType type) {
  return type == ItemType::PictureStatic || type == ItemType::PicturePushButton;
}

bool isToggle(ItemType type) {
  return type == ItemType::TextCheckBox || type == ItemType::TextRadioButton;
}

void dropFocus(Item& item) {
  if (item.dialog->focus == item.handle) item.dialog->focus = 0;
}

// ---- Life and identity ----

AIErr create(ADMDialogRef dialogRef, int32_t itemID, const char* itemType, const AIRect* bounds,
             ADMUserData userData, ADMItemRef* outItem) {
  return guarded([&]() -> AIErr {
    if (outItem == nullptr) return kBadParameterErr;
    *outItem = nullptr;
    DialogManager& manager = dialogManager();
    Dialog* dialog = manager.dialog(dialogRef);
    if (dialog == nullptr) return kBadHandleErr;
    if (itemType == nullptr || bounds == nullptr) return kBadParameterErr;
    const std::optional<ItemType> type = itemTypeFromName(itemType);
    if (!type || *type == ItemType::PopupMenu || itemID <= 0 ||
        dialog->findItem(itemID) != nullptr) {
      return kBadParameterErr;
    }
    Item& item = manager.createItem(*dialog, itemID, *type, *bounds, userData);
    *outItem = refOf<ADMItemRef>(item.handle);
    return kNoErr;
  });
}

AIErr destroy(ADMItemRef ref) {
  return withItem(ref, [&](Item& item) -> AIErr {
    dialogManager().requestDestroy(item);
    return kNoErr;
  });
}

AIErr getDialog(ADMItemRef ref, ADMDialogRef* outDialog) {
  return withItem(ref, [&](Item& item) -> AIErr {
    if (outDialog == nullptr) return kBadParameterErr;
    *outDialog = refOf<ADMDialogRef>(item.dialog->handle);
    return kNoErr;
  });
}

AIErr getID(ADMItemRef ref, int32_t* outItemID) {
  return withItem(ref, [&](Item& item) -> AIErr {
    if (outItemID == nullptr) return kBadParameterErr;
    *outItemID = item.id;
    return kNoErr;
  });
}

AIErr setUserData(ADMItemRef ref, ADMUserData userData) {
  return withItem(ref, [&](Item& item) -> AIErr {
    item.userData = userData;
    return kNoErr;
  });
}

AIErr getUserData(ADMItemRef ref, ADMUserData* outUserData) {
  return withItem(ref, [&](Item& item) -> AIErr {
    if (outUserData == nullptr) return kBadParameterErr;
    *outUserData = item.userData;
    return kNoErr;
  });
}

// ---- Callbacks ----

AIErr setNotifyProc(ADMItemRef ref, ADMItemNotifyProc proc) {
  return withItem(ref, [&](Item& item) -> AIErr {
    item.notifyProc = proc;
    return kNoErr;
  });
}

AIErr setDrawProc(ADMItemRef ref, ADMItemDrawProc proc) {
  return withItem(ref, [&](Item& item) -> AIErr {
    item.drawProc = proc;
    return kNoErr;
  });
}

AIErr setTrackProc(ADMItemRef ref, ADMItemTrackProc proc) {
  return withItem(ref, [&](Item& item) -> AIErr {
    item.trackProc = proc;
    return kNoErr;
  });
}

AIErr setDestroyProc(ADMItemRef ref, ADMItemDestroyProc proc) {
  return withItem(ref, [&](Item& item) -> AIErr {
    item.destroyProc = proc;
    return kNoErr;
  });
}

AIErr setMask(ADMItemRef ref, uint32_t actionMask) {
  return withItem(ref, [&](Item& item) -> AIErr {
    item.trackMask = actionMask;
    return kNoErr;
  });
}

AIErr defaultNotify(ADMItemRef ref, ADMNotifierRef notifierRef) {
  return withItem(ref, [&](Item& item) -> AIErr {
    if (notifierRef == nullptr) return kBadParameterErr;
    const Notifier* notifier = dialogManager().notifier(notifierRef);
    if (notifier == nullptr) return kBadHandleErr;
    dialogManager().defaultNotify(item, notifier->type);
    return kNoErr;
  });
}

AIErr defaultDraw(ADMItemRef ref, ADMDrawerRef drawerRef) {
  return withItem(ref, [&](Item& item) -> AIErr {
    if (drawerRef == nullptr) return kBadParameterErr;
    Drawer* drawer = dialogManager().drawer(drawerRef);
    if (drawer == nullptr) return kBadHandleErr;
    dialogManager().defaultDraw(item, *drawer);
    return kNoErr;
  });
}

AIErr defaultTrack(ADMItemRef ref, ADMTrackerRef trackerRef, AIBoolean* outHandled) {
  return withItem(ref, [&](Item& item) -> AIErr {
    if (trackerRef == nullptr || outHandled == nullptr) return kBadParameterErr;
    const Tracker* tracker = dialogManager().tracker(trackerRef);
    if (tracker == nullptr) return kBadHandleErr;
    // Copied: the standard handling may run notify procs before it returns.
    const TrackEvent event = tracker->event;
    *outHandled = dialogManager().defaultTrack(item, event) ? 1 : 0;
    return kNoErr;
  });
}

// ---- State and place ----

AIErr show(ADMItemRef ref, AIBoolean visible) {
  return withItem(ref, [&](Item& item) -> AIErr {
    item.visible = visible != 0;
    if (!item.visible) dropFocus(item);
    item.invalid = true;
    return kNoErr;
  });
}

AIErr isVisible(ADMItemRef ref, AIBoolean* outVisible) {
  return withItem(ref, [&](Item& item) -> AIErr {
    if (outVisible == nullptr) return kBadParameterErr;
    *outVisible = item.visible ? 1 : 0;
    return kNoErr;
  });
}

AIErr enable(ADMItemRef ref, AIBoolean enabled) {
  return withItem(ref, [&](Item& item) -> AIErr {
    item.enabled = enabled != 0;
    if (!item.enabled) dropFocus(item);
    item.invalid = true;
    return kNoErr;
  });
}

AIErr isEnabled(ADMItemRef ref, AIBoolean* outEnabled) {
  return withItem(ref, [&](Item& item) -> AIErr {
    if (outEnabled == nullptr) return kBadParameterErr;
    *outEnabled = item.enabled ? 1 : 0;
    return kNoErr;
  });
}

AIErr activate(ADMItemRef ref, AIBoolean active) {
  return withItem(ref, [&](Item& item) -> AIErr {
    if (!isEditField(item.type)) return kBadParameterErr;
    if (active == 0) {
      dropFocus(item);
      return kNoErr;
    }
    if (!item.visible || !item.enabled) return kBadParameterErr;
    item.dialog->focus = item.handle;
    return kNoErr;
  });
}

AIErr isActive(ADMItemRef ref, AIBoolean* outActive) {
  return withItem(ref, [&](Item& item) -> AIErr {
    if (outActive == nullptr) return kBadParameterErr;
    *outActive = item.dialog->focus == item.handle ? 1 : 0;
    return kNoErr;
  });
}

AIErr getBoundsRect(ADMItemRef ref, AIRect* outRect) {
  return withItem(ref, [&](Item& item) -> AIErr {
    if (outRect == nullptr) return kBadParameterErr;
    *outRect = item.bounds;
    return kNoErr;
  });
}

AIErr setBoundsRect(ADMItemRef ref, const AIRect* rect) {
  return withItem(ref, [&](Item& item) -> AIErr {
    if (rect == nullptr || rect->right < rect->left || rect->bottom < rect->top) {
      return kBadParameterErr;
    }
    item.bounds = *rect;
    item.invalid = true;
    return kNoErr;
  });
}

AIErr invalidate(ADMItemRef ref) {
  return withItem(ref, [&](Item& item) -> AIErr {
    item.invalid = true;
    return kNoErr;
  });
}

AIErr update(ADMItemRef ref) {
  return withItem(ref, [&](Item& item) -> AIErr {
    dialogManager().updateItem(item);
    return kNoErr;
  });
}

// ---- Text and looks ----

AIErr setText(ADMItemRef ref, const char* text) {
  return withItem(ref, [&](Item& item) -> AIErr {
    if (text == nullptr) return kBadParameterErr;
    if (isEditField(item.type) && item.number.numeric) {
      dialogManager().setNumberText(item, text);
    } else {
      item.text = text;
      item.edited = false;
    }
    item.invalid = true;
    return kNoErr;
  });
}

AIErr getText(ADMItemRef ref, char* buffer, int32_t capacity) {
  return withItem(ref, [&](Item& item) -> AIErr {
    return copyString(dialogManager().itemText(item), buffer, capacity);
  });
}

AIErr selectAll(ADMItemRef ref) {
  return withItem(ref, [&](Item& item) -> AIErr {
    if (!isEditField(item.type)) return kBadParameterErr;
    item.selectAll = true;
    return kNoErr;
  });
}

AIErr setFont(ADMItemRef ref, int32_t font) {
  return withItem(ref, [&](Item& item) -> AIErr {
    if (!isKnownFont(font)) return kBadParameterErr;
    item.font = font;
    item.invalid = true;
    return kNoErr;
  });
}

AIErr setTipString(ADMItemRef ref, const char* tip) {
  return withItem(ref, [&](Item& item) -> AIErr {
    item.tip = tip != nullptr ? tip : "";
    return kNoErr;
  });
}

AIErr getTipString(ADMItemRef ref, char* buffer, int32_t capacity) {
  return withItem(ref, [&](Item& item) -> AIErr { return copyString(item.tip, buffer, capacity); });
}

AIErr setPicture(Item& item, int32_t pictureID, bool disabled) {
  if (!isPicture(item.type)) return kBadParameterErr;
  std::shared_ptr<const IconImage> image;
  if (pictureID != 0) {
    AIErr error = kNoErr;
    image = dialogManager().loadImage(pictureID, 0, error);
    if (!image) return error;
  }
  (disabled ? item.disabledPictureID : item.pictureID) = pictureID;
  (disabled ? item.disabledPicture : item.picture) = std::move(image);
  item.invalid = true;
  return kNoErr;
}

AIErr setPictureID(ADMItemRef ref, int32_t pictureID) {
  return withItem(ref, [&](Item& item) { return setPicture(item, pictureID, false); });
}

AIErr setDisabledPictureID(ADMItemRef ref, int32_t pictureID) {
  return withItem(ref, [&](Item& item) { return setPicture(item, pictureID, true); });
}

AIErr setItemStyle(ADMItemRef ref, int32_t style) {
  return withItem(ref, [&](Item& item) -> AIErr {
    if (isPicture(item.type) && style != kADMPictureCenteredStyle &&
        style != kADMPictureTopLeftStyle) {
      return kBadParameterErr;
    }
    item.style = style;
    item.invalid = true;
    return kNoErr;
  });
}

AIErr setCursorID(ADMItemRef ref, SPPluginRef plugin, int32_t cursorID) {
  return withItem(ref, [&](Item& item) -> AIErr {
    if (cursorID < 0) {
      item.cursor = CursorChoice{kADMStandardArrowCursorID};
      return kNoErr;
    }
    if (!isPluginRef(plugin)) return kBadHandleErr;
    const PluginResources* resources = dialogManager().resources();
    if (resources == nullptr || resources->cursors.count(cursorID) == 0) {
      return kResourceNotFoundErr;
    }
    item.cursor = CursorChoice{cursorID};
    return kNoErr;
  });
}

// ---- Number fields ----

AIErr setUnits(ADMItemRef ref, int32_t units) {
  return withNumberField(ref, [&](Item& item) -> AIErr {
    const int32_t resolved = units == kADMAppUnits1 ? dialogManager().appUnits() : units;
    if (!isConcreteUnits(resolved)) return kBadParameterErr;
    item.number.units = resolved;
    dialogManager().showNumber(item);
    return kNoErr;
  });
}

AIErr getUnits(ADMItemRef ref, int32_t* outUnits) {
  return withItem(ref, [&](Item& item) -> AIErr {
    if (outUnits == nullptr) return kBadParameterErr;
    if (!isEditField(item.type)) return kBadParameterErr;
    *outUnits = item.number.units;
    return kNoErr;
  });
}

AIErr setPrecision(ADMItemRef ref, int32_t decimals) {
  return withNumberField(ref, [&](Item& item) -> AIErr {
    if (decimals < 0 || decimals > 10) return kBadParameterErr;
    item.number.precision = decimals;
    dialogManager().showNumber(item);
    return kNoErr;
  });
}

AIErr showUnits(ADMItemRef ref, AIBoolean shown) {
  return withNumberField(ref, [&](Item& item) -> AIErr {
    item.number.showUnits = shown != 0;
    dialogManager().showNumber(item);
    return kNoErr;
  });
}

AIErr allowUnits(ADMItemRef ref, AIBoolean allow) {
  return withNumberField(ref, [&](Item& item) -> AIErr {
    item.number.allowUnits = allow != 0;
    return kNoErr;
  });
}

AIErr allowMath(ADMItemRef ref, AIBoolean allow) {
  return withNumberField(ref, [&](Item& item) -> AIErr {
    item.number.allowMath = allow != 0;
    return kNoErr;
  });
}

AIErr setFloatValue(ADMItemRef ref, AIReal value) {
  return withNumberField(ref, [&](Item& item) -> AIErr {
    if (!std::isfinite(value)) return kNonFiniteErr;
    item.number.value = clampToLimits(item.number, value).value;
    item.edited = false;
    dialogManager().showNumber(item);
    return kNoErr;
  });
}

AIErr getFloatValue(ADMItemRef ref, AIReal* outValue) {
  return withItem(ref, [&](Item& item) -> AIErr {
    if (outValue == nullptr) return kBadParameterErr;
    if (!isEditField(item.type)) return kBadParameterErr;
    if (item.number.numeric) {
      *outValue = static_cast<AIReal>(item.number.value);
    } else {
      // A plain text field: its text read as a number, 0 when it is none.
      *outValue = static_cast<AIReal>(parseNumberText(NumberField{}, item.text).value_or(0));
    }
    return kNoErr;
  });
}

AIErr setMinFloatValue(ADMItemRef ref, AIReal minValue) {
  return withNumberField(ref, [&](Item& item) -> AIErr {
    if (!std::isfinite(minValue)) return kNonFiniteErr;
    if (minValue > item.number.maximum) return kBadParameterErr;
    item.number.minimum = minValue;
    item.number.value = clampToLimits(item.number, item.number.value).value;
    dialogManager().showNumber(item);
    return kNoErr;
  });
}

AIErr setMaxFloatValue(ADMItemRef ref, AIReal maxValue) {
  return withNumberField(ref, [&](Item& item) -> AIErr {
    if (!std::isfinite(maxValue)) return kNonFiniteErr;
    if (maxValue < item.number.minimum) return kBadParameterErr;
    item.number.maximum = maxValue;
    item.number.value = clampToLimits(item.number, item.number.value).value;
    dialogManager().showNumber(item);
    return kNoErr;
  });
}

AIErr setSmallIncrement(ADMItemRef ref, AIReal step) {
  return withNumberField(ref, [&](Item& item) -> AIErr {
    if (!std::isfinite(step)) return kNonFiniteErr;
    if (!(step > 0)) return kBadParameterErr;
    item.number.step = step;
    return kNoErr;
  });
}

// ---- Check boxes, radio buttons, lists ----

AIErr setBooleanValue(ADMItemRef ref, AIBoolean value) {
  return withItem(ref, [&](Item& item) -> AIErr {
    if (!isToggle(item.type)) return kBadParameterErr;
    item.checked = value != 0;
    item.invalid = true;
    return kNoErr;
  });
}

AIErr getBooleanValue(ADMItemRef ref, AIBoolean* outValue) {
  return withItem(ref, [&](Item& item) -> AIErr {
    if (outValue == nullptr) return kBadParameterErr;
    if (!isToggle(item.type)) return kBadParameterErr;
    *outValue = item.checked ? 1 : 0;
    return kNoErr;
  });
}

AIErr getList(ADMItemRef ref, ADMListRef* outList) {
  return withItem(ref, [&](Item& item) -> AIErr {
    if (outList == nullptr) return kBadParameterErr;
    *outList = item.list ? refOf<ADMListRef>(item.list->handle) : nullptr;
    return kNoErr;
  });
}

const ADMItemSuite kItem = {
    create,
    destroy,
    getDialog,
    getID,
    setUserData,
    getUserData,
    setNotifyProc,
    setDrawProc,
    setTrackProc,
    setDestroyProc,
    setMask,
    defaultNotify,
    defaultDraw,
    defaultTrack,
    show,
    isVisible,
    enable,
    isEnabled,
    activate,
    isActive,
    getBoundsRect,
    setBoundsRect,
    invalidate,
    update,
    setText,
    getText,
    selectAll,
    setFont,
    setTipString,
    getTipString,
    setPictureID,
    setDisabledPictureID,
    setItemStyle,
    setCursorID,
    setUnits,
    getUnits,
    setPrecision,
    showUnits,
    allowUnits,
    allowMath,
    setFloatValue,
    getFloatValue,
    setMinFloatValue,
    setMaxFloatValue,
    setSmallIncrement,
    setBooleanValue,
    getBooleanValue,
    getList,
};

}  // namespace

void publishADMItemSuite(SuiteRegistry& registry) {
  registry.add(kADMItemSuite, kADMItemSuiteVersion, &kItem);
}

}  // namespace sqhost
