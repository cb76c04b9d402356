// "ADM Dialog Suite" and "ADM Dialog Group Suite": modal dialogs, floating panels and docking.
#include "sqsdk/suites/adm_dialog.h"

#include "sqsdk/errors.h"
#include "sqsdk/suites/adm_dialog_group.h"
#include "suites/adm_suites.hpp"
#include "suites/suite_support.hpp"

namespace sqhost {
namespace {

// Runs f with the live dialog behind ref, or answers kBadHandleErr.
template <typename F>
AIErr withDialog(ADMDialogRef ref, F&& f) {
  return guarded([&]() -> AIErr {
    Dialog* dialog = dialogManager().dialog(ref);
    if (dialog == nullptr) return kBadHandleErr;
    return f(*dialog);
  });
}

bool isFloatingStyle(int32_t style) {
  return style == kADMFloatingDialogStyle || style == kADMTabbedFloatingDialogStyle;
}

bool isModalStyle(int32_t style) {
  return style == kADMModalDialogStyle || style == kADMAlertDialogStyle;
}

AIErr create(SPPluginRef plugin, const char* name, int32_t dialogID, int32_t style,
             ADMDialogInitProc initProc, ADMUserData userData, int32_t options,
             ADMDialogRef* outDialog) {
  return guarded([&]() -> AIErr {
    if (outDialog == nullptr) return kBadParameterErr;
    *outDialog = nullptr;
    if (!isPluginRef(plugin)) return kBadHandleErr;
    if (name == nullptr || *name == '\0' || !isFloatingStyle(style) || options != 0) {
      return kBadParameterErr;
    }
    Dialog* dialog = nullptr;
    const AIErr error =
        dialogManager().createDialog(dialogID, name, style, initProc, userData, dialog);
    if (error != kNoErr) return error;
    *outDialog = refOf<ADMDialogRef>(dialog->handle);
    return kNoErr;
  });
}

AIErr modal(SPPluginRef plugin, const char* name, int32_t dialogID, int32_t style,
            ADMDialogInitProc initProc, ADMUserData userData, int32_t options, int32_t* outItemID) {
  return guarded([&]() -> AIErr {
    if (outItemID == nullptr) return kBadParameterErr;
    *outItemID = 0;
    if (!isPluginRef(plugin)) return kBadHandleErr;
    if (name == nullptr || *name == '\0' || !isModalStyle(style) || options != 0) {
      return kBadParameterErr;
    }
    return dialogManager().runModal(dialogID, name, style, initProc, userData, *outItemID);
  });
}

AIErr endModal(ADMDialogRef ref, int32_t itemID) {
  return withDialog(ref, [&](Dialog& dialog) -> AIErr {
    if (!dialog.modal() || !dialog.running) return kBadParameterErr;
    dialog.endRequested = true;
    dialog.endItemID = itemID;
    return kNoErr;
  });
}

AIErr destroy(ADMDialogRef ref) {
  return withDialog(ref, [&](Dialog& dialog) -> AIErr {
    if (dialog.modal()) return kBadParameterErr;
    dialogManager().requestDestroy(dialog);
    return kNoErr;
  });
}

AIErr getItem(ADMDialogRef ref, int32_t itemID, ADMItemRef* outItem) {
  return withDialog(ref, [&](Dialog& dialog) -> AIErr {
    if (outItem == nullptr) return kBadParameterErr;
    const Item* item = dialog.findItem(itemID);
    *outItem = item != nullptr ? refOf<ADMItemRef>(item->handle) : nullptr;
    return kNoErr;
  });
}

AIErr setDefaultItemID(ADMDialogRef ref, int32_t itemID) {
  return withDialog(ref, [&](Dialog& dialog) -> AIErr {
    dialog.defaultItemID = itemID;
    return kNoErr;
  });
}

AIErr setCancelItemID(ADMDialogRef ref, int32_t itemID) {
  return withDialog(ref, [&](Dialog& dialog) -> AIErr {
    dialog.cancelItemID = itemID;
    return kNoErr;
  });
}

AIErr show(ADMDialogRef ref, AIBoolean visible) {
  return withDialog(ref, [&](Dialog& dialog) -> AIErr {
    if (dialog.modal()) return kBadParameterErr;
    dialogManager().setVisible(dialog, visible != 0);
    return kNoErr;
  });
}

AIErr isVisible(ADMDialogRef ref, AIBoolean* outVisible) {
  return withDialog(ref, [&](Dialog& dialog) -> AIErr {
    if (outVisible == nullptr) return kBadParameterErr;
    *outVisible = dialog.visible ? 1 : 0;
    return kNoErr;
  });
}

AIErr getLocalRect(ADMDialogRef ref, AIRect* outRect) {
  return withDialog(ref, [&](Dialog& dialog) -> AIErr {
    if (outRect == nullptr) return kBadParameterErr;
    *outRect = dialog.localRect();
    return kNoErr;
  });
}

AIErr getBoundsRect(ADMDialogRef ref, AIRect* outRect) {
  return withDialog(ref, [&](Dialog& dialog) -> AIErr {
    if (outRect == nullptr) return kBadParameterErr;
    *outRect = dialog.bounds;
    return kNoErr;
  });
}

AIErr setBoundsRect(ADMDialogRef ref, const AIRect* rect) {
  return withDialog(ref, [&](Dialog& dialog) -> AIErr {
    if (rect == nullptr || rect->right < rect->left || rect->bottom < rect->top) {
      return kBadParameterErr;
    }
    dialog.bounds = *rect;
    return kNoErr;
  });
}

AIErr setIcon(ADMDialogRef ref, int32_t slot, ADMIconRef icon) {
  return withDialog(ref, [&](Dialog& dialog) -> AIErr {
    if (slot != kADMDialogNormalIcon && slot != kADMDialogRolloverIcon) return kBadParameterErr;
    std::shared_ptr<const IconImage> image;
    if (icon != nullptr) {
      image = dialogManager().icon(icon);
      if (!image) return kBadHandleErr;
    }
    dialog.icons[static_cast<std::size_t>(slot)] = std::move(image);
    return kNoErr;
  });
}

AIErr setDrawProc(ADMDialogRef ref, ADMDialogDrawProc proc) {
  return withDialog(ref, [&](Dialog& dialog) -> AIErr {
    dialog.drawProc = proc;
    return kNoErr;
  });
}

AIErr setNotifyProc(ADMDialogRef ref, ADMDialogNotifyProc proc) {
  return withDialog(ref, [&](Dialog& dialog) -> AIErr {
    dialog.notifyProc = proc;
    return kNoErr;
  });
}

AIErr setDestroyProc(ADMDialogRef ref, ADMDialogDestroyProc proc) {
  return withDialog(ref, [&](Dialog& dialog) -> AIErr {
    dialog.destroyProc = proc;
    return kNoErr;
  });
}

AIErr defaultDraw(ADMDialogRef ref, ADMDrawerRef drawerRef) {
  return withDialog(ref, [&](Dialog& dialog) -> AIErr {
    if (drawerRef == nullptr) return kBadParameterErr;
    Drawer* drawer = dialogManager().drawer(drawerRef);
    if (drawer == nullptr) return kBadHandleErr;
    dialogManager().defaultDraw(dialog, *drawer);
    return kNoErr;
  });
}

AIErr setUserData(ADMDialogRef ref, ADMUserData userData) {
  return withDialog(ref, [&](Dialog& dialog) -> AIErr {
    dialog.userData = userData;
    return kNoErr;
  });
}

AIErr getUserData(ADMDialogRef ref, ADMUserData* outUserData) {
  return withDialog(ref, [&](Dialog& dialog) -> AIErr {
    if (outUserData == nullptr) return kBadParameterErr;
    *outUserData = dialog.userData;
    return kNoErr;
  });
}

// ---- Docking ------------------------------------------------------------------------------------

AIErr getDialogGroupInfo(ADMDialogRef ref, char* groupName, int32_t capacity,
                         int32_t* outDockCode) {
  return withDialog(ref, [&](Dialog& dialog) -> AIErr {
    if (dialog.modal()) return kBadHandleErr;
    if (groupName == nullptr || outDockCode == nullptr || capacity < 1) return kBadParameterErr;
    *outDockCode = dialogManager().dockCode(dialog);
    return copyString(dialog.group, groupName, capacity);
  });
}

AIErr setDialogGroupInfo(ADMDialogRef ref, const char* groupName, int32_t dockCode) {
  return withDialog(ref, [&](Dialog& dialog) -> AIErr {
    if (dialog.modal()) return kBadHandleErr;
    if (groupName == nullptr || dockCode < 0) return kBadParameterErr;
    dialogManager().dock(dialog, groupName, dockCode);
    return kNoErr;
  });
}

const ADMDialogSuite kDialog = {
    create,           modal,           endModal,    destroy,     getItem,
    setDefaultItemID, setCancelItemID, show,        isVisible,   getLocalRect,
    getBoundsRect,    setBoundsRect,   setIcon,     setDrawProc, setNotifyProc,
    setDestroyProc,   defaultDraw,     setUserData, getUserData,
};

const ADMDialogGroupSuite kDialogGroup = {getDialogGroupInfo, setDialogGroupInfo};

}  // namespace

void publishADMDialogSuites(SuiteRegistry& registry) {
  registry.add(kADMDialogSuite, kADMDialogSuiteVersion, &kDialog);
  registry.add(kADMDialogGroupSuite, kADMDialogGroupSuiteVersion, &kDialogGroup);
}

}  // namespace sqhost
