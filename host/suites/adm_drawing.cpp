// "ADM Drawer Suite" and "ADM Icon Suite": drawing into display lists, and PNG icons.
#include "render/font_metrics.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/adm_drawer.h"
#include "sqsdk/suites/adm_icon.h"
#include "suites/adm_suites.hpp"
#include "suites/suite_support.hpp"

namespace sqhost {
namespace {

template <typename F>
AIErr withDrawer(ADMDrawerRef ref, F&& f) {
  return guarded([&]() -> AIErr {
    Drawer* drawer = dialogManager().drawer(ref);
    if (drawer == nullptr) return kBadHandleErr;
    return f(*drawer);
  });
}

// Shapes given by a rectangle.
template <void (Drawer::*Draw)(const AIRect&)>
AIErr drawRect(ADMDrawerRef ref, const AIRect* rect) {
  return withDrawer(ref, [&](Drawer& drawer) -> AIErr {
    if (rect == nullptr) return kBadParameterErr;
    (drawer.*Draw)(*rect);
    return kNoErr;
  });
}

AIErr create(AIPortRef portRef, const AIRect* boundsRect, int32_t font, ADMDrawerRef* outDrawer) {
  return guarded([&]() -> AIErr {
    if (outDrawer == nullptr) return kBadParameterErr;
    *outDrawer = nullptr;
    Port* port = dialogManager().port(portRef);
    if (port == nullptr) return kBadHandleErr;
    if (boundsRect == nullptr || !isKnownFont(font)) return kBadParameterErr;
    *outDrawer = dialogManager().createDrawer(*port, *boundsRect, font);
    return kNoErr;
  });
}

AIErr destroy(ADMDrawerRef ref) {
  return withDrawer(ref, [&](Drawer&) -> AIErr {
    if (dialogManager().isHostDrawer(ref)) return kBadParameterErr;
    dialogManager().destroyDrawer(ref);
    return kNoErr;
  });
}

AIErr getBoundsRect(ADMDrawerRef ref, AIRect* outRect) {
  return withDrawer(ref, [&](Drawer& drawer) -> AIErr {
    if (outRect == nullptr) return kBadParameterErr;
    *outRect = drawer.bounds();
    return kNoErr;
  });
}

AIErr setDrawMode(ADMDrawerRef ref, int32_t mode) {
  return withDrawer(ref, [&](Drawer& drawer) -> AIErr {
    if (mode != kADMNormalMode && mode != kADMXorMode) return kBadParameterErr;
    drawer.setMode(mode);
    return kNoErr;
  });
}

AIErr setClipRect(ADMDrawerRef ref, const AIRect* rect) {
  return drawRect<&Drawer::setClip>(ref, rect);
}

AIErr addClipRect(ADMDrawerRef ref, const AIRect* rect) {
  return drawRect<&Drawer::addClip>(ref, rect);
}

AIErr setColor(ADMDrawerRef ref, ADMColor color) {
  return withDrawer(ref, [&](Drawer& drawer) -> AIErr {
    uint32_t rgba = 0;
    if (!resolveColor(color, rgba)) return kBadParameterErr;
    drawer.setColor(rgba);
    return kNoErr;
  });
}

AIErr setRGBColor(ADMDrawerRef ref, const AIRGBColor* color) {
  return withDrawer(ref, [&](Drawer& drawer) -> AIErr {
    if (color == nullptr) return kBadParameterErr;
    drawer.setColor(ADM_RGB_COLOR(color->red >> 8, color->green >> 8, color->blue >> 8));
    return kNoErr;
  });
}

AIErr setFont(ADMDrawerRef ref, int32_t font) {
  return withDrawer(ref, [&](Drawer& drawer) -> AIErr {
    if (!isKnownFont(font)) return kBadParameterErr;
    drawer.setFont(font);
    return kNoErr;
  });
}

AIErr drawLine(ADMDrawerRef ref, const AIPoint* start, const AIPoint* end) {
  return withDrawer(ref, [&](Drawer& drawer) -> AIErr {
    if (start == nullptr || end == nullptr) return kBadParameterErr;
    drawer.line(*start, *end);
    return kNoErr;
  });
}

AIErr drawIcon(ADMDrawerRef ref, ADMIconRef iconRef, const AIPoint* topLeft) {
  return withDrawer(ref, [&](Drawer& drawer) -> AIErr {
    if (iconRef == nullptr || topLeft == nullptr) return kBadParameterErr;
    const auto image = dialogManager().icon(iconRef);
    if (!image) return kBadHandleErr;
    drawer.icon(image, *topLeft);
    return kNoErr;
  });
}

AIErr getTextWidth(ADMDrawerRef ref, const char* text, int32_t* outWidth) {
  return withDrawer(ref, [&](Drawer& drawer) -> AIErr {
    if (text == nullptr || outWidth == nullptr) return kBadParameterErr;
    *outWidth = drawer.textWidth(text);
    return kNoErr;
  });
}

AIErr drawText(ADMDrawerRef ref, const char* text, const AIPoint* baselineStart) {
  return withDrawer(ref, [&](Drawer& drawer) -> AIErr {
    if (text == nullptr || baselineStart == nullptr) return kBadParameterErr;
    drawer.text(text, *baselineStart);
    return kNoErr;
  });
}

// ---- Icons ----

AIErr getFromResource(SPPluginRef plugin, int32_t iconID, int32_t iconIndex, ADMIconRef* outIcon) {
  return guarded([&]() -> AIErr {
    if (outIcon == nullptr) return kBadParameterErr;
    *outIcon = nullptr;
    if (!isPluginRef(plugin)) return kBadHandleErr;
    AIErr error = kNoErr;
    auto image = dialogManager().loadImage(iconID, iconIndex, error);
    if (!image) return error;
    *outIcon = dialogManager().addIcon(std::move(image));
    return kNoErr;
  });
}

AIErr destroyIcon(ADMIconRef icon) {
  return guarded([&]() -> AIErr {
    if (icon == nullptr) return kNoErr;
    return dialogManager().removeIcon(icon) ? kNoErr : kBadHandleErr;
  });
}

AIErr getSize(ADMIconRef icon, int32_t* outWidth, int32_t* outHeight) {
  return guarded([&]() -> AIErr {
    if (outWidth == nullptr || outHeight == nullptr) return kBadParameterErr;
    const auto image = dialogManager().icon(icon);
    if (!image) return kBadHandleErr;
    *outWidth = image->width;
    *outHeight = image->height;
    return kNoErr;
  });
}

const ADMDrawerSuite kDrawer = {
    create,
    destroy,
    getBoundsRect,
    setDrawMode,
    setClipRect,
    addClipRect,
    setColor,
    setRGBColor,
    setFont,
    drawLine,
    drawRect<&Drawer::fillRect>,
    drawRect<&Drawer::frameRect>,
    drawRect<&Drawer::clearRect>,
    drawRect<&Drawer::fillOval>,
    drawRect<&Drawer::frameOval>,
    drawIcon,
    getTextWidth,
    drawText,
};

const ADMIconSuite kIcon = {getFromResource, destroyIcon, getSize};

}  // namespace

void publishADMDrawingSuites(SuiteRegistry& registry) {
  registry.add(kADMDrawerSuite, kADMDrawerSuiteVersion, &kDrawer);
  registry.add(kADMIconSuite, kADMIconSuiteVersion, &kIcon);
}

}  // namespace sqhost
