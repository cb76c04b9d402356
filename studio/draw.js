// Drawing the host's display-list operations on a 2D canvas, and small text helpers.

// "#RRGGBBAA" or "#RRGGBB" as a CSS colour; anything else draws black.
export function cssColor(text) {
  if (typeof text !== "string") return "#000000";
  const m = /^#([0-9a-f]{6})([0-9a-f]{2})?$/i.exec(text);
  if (!m) return "#000000";
  const rgb = parseInt(m[1], 16);
  const alpha = m[2] === undefined ? 1 : parseInt(m[2], 16) / 255;
  return `rgba(${rgb >> 16}, ${(rgb >> 8) & 255}, ${rgb & 255}, ${alpha})`;
}

function alphaOf(text) {
  const m = /^#[0-9a-f]{6}([0-9a-f]{2})$/i.exec(text ?? "");
  return m ? parseInt(m[1], 16) : 255;
}

// The dialog manager's fonts by number (dialog fonts 12 px, palette fonts 10 px); a CSS font
// text is used as it is.
const FONTS = [
  "12px 'DejaVu Sans', sans-serif",
  "12px 'DejaVu Sans', sans-serif",
  "10px 'DejaVu Sans', sans-serif",
  "italic 12px 'DejaVu Sans', sans-serif",
  "italic 10px 'DejaVu Sans', sans-serif",
  "bold 12px 'DejaVu Sans', sans-serif",
  "bold 10px 'DejaVu Sans', sans-serif",
];
export function cssFont(font) {
  if (typeof font === "number") return FONTS[font] ?? FONTS[0];
  if (typeof font === "string" && font.length > 0 && font.length < 200) return font;
  return FONTS[0];
}

// A label as shown. The host sends item, title and menu texts as they are shown, with the
// shortcut marks ("&", "&&" for one "&") already taken out, so they are not read again here:
// a "&" that arrives is a real one.
export function shownLabel(text) {
  return typeof text === "string" ? text : "";
}

function finite(...values) {
  return values.every((v) => typeof v === "number" && Number.isFinite(v));
}

function rectOf(r) {
  return Array.isArray(r) && r.length === 4 && finite(...r) ? r : null;
}

function pointOf(p) {
  return Array.isArray(p) && p.length === 2 && finite(...p) ? p : null;
}

// Decoded pictures by data URL; an image still loading draws nothing and asks for a redraw.
const images = new Map();
export function pictureImage(url, onLoad) {
  if (typeof url !== "string" || !url.startsWith("data:image/")) return null;
  let image = images.get(url);
  if (!image) {
    image = new Image();
    image.src = url;
    images.set(url, image);
  }
  if (!image.complete) {
    // One redraw per waiting caller, however often it asks while the picture loads.
    image.waiting ??= new Set();
    if (onLoad && !image.waiting.has(onLoad)) {
      image.waiting.add(onLoad);
      image.addEventListener("load", onLoad, { once: true });
    }
    return null;
  }
  return image.naturalWidth > 0 ? image : null;
}

// Names as the report writes them ("fill rect") and as the protocol does ("fillRect").
function opKind(name) {
  return typeof name === "string" ? name.replace(/\s+/g, "").toLowerCase() : "";
}

// Draws one operation clipped to the union of its clip rectangles. Coordinates are canvas CSS
// pixels; a one-pixel line runs through pixel centres with square caps, so it covers both
// end pixels.
export function drawOp(ctx, op, onImageLoad) {
  if (!op || typeof op !== "object") return;
  const kind = opKind(op.op);
  ctx.save();
  if (Array.isArray(op.clip)) {
    ctx.beginPath();
    for (const c of op.clip) {
      const r = rectOf(c);
      if (r && r[2] > r[0] && r[3] > r[1]) ctx.rect(r[0], r[1], r[2] - r[0], r[3] - r[1]);
    }
    ctx.clip("nonzero");
  }
  const color = cssColor(op.color);
  if (op.xor && kind !== "icon" && kind !== "clearrect") {
    ctx.globalCompositeOperation = "difference";
  }
  ctx.fillStyle = color;
  ctx.strokeStyle = color;
  ctx.lineWidth = 1;
  const r = rectOf(op.rect);
  switch (kind) {
    case "line": {
      const a = pointOf(op.from);
      const b = pointOf(op.to);
      if (!a || !b) break;
      if (a[0] === b[0] && a[1] === b[1]) {
        ctx.fillRect(a[0], a[1], 1, 1);
        break;
      }
      ctx.lineCap = "square";
      ctx.beginPath();
      ctx.moveTo(a[0] + 0.5, a[1] + 0.5);
      ctx.lineTo(b[0] + 0.5, b[1] + 0.5);
      ctx.stroke();
      break;
    }
    case "fillrect":
      if (r) ctx.fillRect(r[0], r[1], r[2] - r[0], r[3] - r[1]);
      break;
    case "clearrect":
      if (!r) break;
      if (alphaOf(op.color) === 0) {
        ctx.clearRect(r[0], r[1], r[2] - r[0], r[3] - r[1]);
      } else {
        ctx.globalCompositeOperation = "copy";
        ctx.fillRect(r[0], r[1], r[2] - r[0], r[3] - r[1]);
      }
      break;
    case "framerect":
      if (!r) break;
      ctx.beginPath();
      ctx.rect(r[0], r[1], r[2] - r[0], r[3] - r[1]);
      if (r[2] - r[0] > 2 && r[3] - r[1] > 2) {
        ctx.rect(r[0] + 1, r[1] + 1, r[2] - r[0] - 2, r[3] - r[1] - 2);
      }
      ctx.fill("evenodd");
      break;
    case "filloval":
    case "frameoval": {
      if (!r) break;
      const w = r[2] - r[0];
      const h = r[3] - r[1];
      if (w <= 0 || h <= 0) break;
      ctx.beginPath();
      if (kind === "filloval") {
        ctx.ellipse(r[0] + w / 2, r[1] + h / 2, w / 2, h / 2, 0, 0, 2 * Math.PI);
        ctx.fill();
      } else if (w <= 2 || h <= 2) {
        ctx.fillRect(r[0], r[1], w, h);
      } else {
        ctx.ellipse(r[0] + w / 2, r[1] + h / 2, (w - 1) / 2, (h - 1) / 2, 0, 0, 2 * Math.PI);
        ctx.stroke();
      }
      break;
    }
    case "icon": {
      const at = pointOf(op.at) ?? (r ? [r[0], r[1]] : null);
      const image = pictureImage(op.picture, onImageLoad);
      if (at && image) ctx.drawImage(image, at[0], at[1]);
      break;
    }
    case "text": {
      const at = pointOf(op.at) ?? pointOf(op.from);
      if (!at || typeof op.text !== "string") break;
      ctx.font = cssFont(op.font);
      ctx.textBaseline = "alphabetic";
      ctx.fillText(op.text, at[0], at[1]);
      break;
    }
    default:
      break;
  }
  ctx.restore();
}

// A canvas sized to its CSS box at the device's pixel ratio, with a context drawing in CSS pixels.
export function fitCanvas(canvas, width, height) {
  const ratio = window.devicePixelRatio || 1;
  const w = Math.max(1, Math.round(width * ratio));
  const h = Math.max(1, Math.round(height * ratio));
  if (canvas.width !== w || canvas.height !== h) {
    canvas.width = w;
    canvas.height = h;
  }
  canvas.style.width = `${width}px`;
  canvas.style.height = `${height}px`;
  const ctx = canvas.getContext("2d");
  ctx.setTransform(ratio, 0, 0, ratio, 0, 0);
  return ctx;
}
