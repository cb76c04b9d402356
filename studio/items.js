// The widgets of panel and dialog items: HTML elements placed at the items' bounds, kept in step
// with the host's item model, and the requests the user's actions on them make.

// Modules are loaded with the page's own query (its token), as every request of the page must be.
const query = new URL(import.meta.url).search;
const { cssFont, drawOp, fitCanvas, shownLabel } = await import(`./draw.js${query}`);
const { modifiersOf } = await import(`./connection.js${query}`);

// A number as typed, optionally followed by the field's own units suffix; anything else (other
// units, arithmetic) is left for the host to read as text.
export function typedNumber(text, shown) {
  const suffix = /[\d.]\s*([^\d\s.][^\d]*)$/.exec(shown ?? "")?.[1]?.trim() ?? "";
  const m = /^\s*([-+]?(?:\d+(?:\.\d*)?|\.\d+)(?:[eE][-+]?\d+)?)\s*(\S.*)?$/.exec(text);
  if (!m) return null;
  const rest = (m[2] ?? "").trim();
  if (rest !== "" && rest !== suffix) return null;
  const value = Number(m[1]);
  return Number.isFinite(value) ? value : null;
}

function place(el, item) {
  const b = Array.isArray(item.bounds) ? item.bounds : [0, 0, 0, 0];
  el.style.left = `${b[0]}px`;
  el.style.top = `${b[1]}px`;
  el.style.width = `${Math.max(0, b[2] - b[0])}px`;
  el.style.height = `${Math.max(0, b[3] - b[1])}px`;
}

function common(el, item) {
  el.style.display = item.visible === false ? "none" : "";
  el.title = item.tip ?? item.tooltip ?? "";
  el.classList.toggle("sq-disabled", item.enabled === false);
  if (item.font !== undefined) el.style.font = cssFont(item.font);
}

function pictureUrl(picture) {
  return typeof picture === "string" && picture.startsWith("data:image/") ? picture : null;
}

// The item kind in the protocol's words; the host's long names ("ADM Text Edit Type") are read
// too.
export function itemKind(type) {
  if (typeof type !== "string") return "frame";
  if (!type.includes(" ")) return type;
  const words = type.replace(/^ADM /, "").replace(/ Type$/, "").split(/\s+/);
  const camel = words.map((w, i) => (i === 0 ? w.toLowerCase() : w[0].toUpperCase() + w.slice(1))).join("");
  return { textCheckBox: "checkBox", textRadioButton: "radioButton", textPushButton: "pushButton" }[camel] ?? camel;
}

// One widget per item. ctx: { dialog (the name requests carry), send(request, event) }.
export function makeWidget(item, ctx) {
  const make = builders[item.type] ?? builders.frame;
  const widget = make(ctx, item);
  widget.type = item.type;
  widget.el.classList.add("sq-item");
  widget.el.dataset.item = item.id;
  widget.set(item);
  return widget;
}

function dialogRequest(ctx, action, item, extra = {}) {
  return { type: "dialog", dialog: ctx.dialog, action, item: item.id, ...extra };
}

function field(ctx) {
  const el = document.createElement("input");
  el.type = "text";
  el.className = "sq-field";
  el.spellcheck = false;
  const widget = { el, model: null, dirty: false };
  const sendKey = (key, event) => ctx.send(dialogRequest(ctx, "key", widget.model, { key, modifiers: modifiersOf(event) }), event);
  widget.commit = (event) => {
    if (!widget.dirty) return;
    widget.dirty = false;
    const number = typedNumber(el.value, widget.model.text);
    const request =
      number !== null
        ? dialogRequest(ctx, "value", widget.model, { number })
        : dialogRequest(ctx, "text", widget.model, { text: el.value });
    ctx.send(request, event);
  };
  el.addEventListener("focus", () => el.select());
  el.addEventListener("input", () => {
    widget.dirty = true;
  });
  el.addEventListener("blur", (event) => widget.commit(event));
  el.addEventListener("keydown", (event) => {
    if (event.key === "Enter") {
      event.preventDefault();
      event.stopPropagation();
      widget.commit(event);
      sendKey("enter", event);
    } else if (event.key === "Tab") {
      event.preventDefault();
      event.stopPropagation();
      widget.commit(event);
      sendKey("tab", event);
    } else if (event.key === "Escape" && widget.dirty) {
      event.preventDefault();
      event.stopPropagation();
      widget.dirty = false;
      el.value = widget.model.text ?? "";
      el.select();
    } else if ((event.key === "ArrowUp" || event.key === "ArrowDown") && widget.model.type === "spinEdit") {
      event.preventDefault();
      event.stopPropagation();
      widget.commit(event);
      sendKey(event.key === "ArrowUp" ? "up" : "down", event);
    }
  });
  widget.set = (item) => {
    widget.model = item;
    place(el, item);
    common(el, item);
    el.disabled = item.enabled === false;
    if (!(widget.dirty && document.activeElement === el)) {
      widget.dirty = false;
      if (el.value !== (item.text ?? "")) el.value = item.text ?? "";
    }
  };
  return widget;
}

function button(ctx) {
  const el = document.createElement("button");
  el.type = "button";
  el.className = "sq-button";
  const widget = { el, model: null };
  el.addEventListener("click", (event) => ctx.send(dialogRequest(ctx, "press", widget.model, { modifiers: modifiersOf(event) }), event));
  widget.set = (item) => {
    widget.model = item;
    place(el, item);
    common(el, item);
    el.disabled = item.enabled === false;
    el.classList.toggle("sq-default", item.default === true);
    const url = pictureUrl(item.picture);
    if (item.type === "picturePushButton" && url) {
      if (el.firstChild?.tagName !== "IMG" || el.firstChild.src !== url) {
        const img = document.createElement("img");
        img.src = url;
        img.alt = shownLabel(item.text);
        el.replaceChildren(img);
      }
      el.classList.add("sq-picture-button");
    } else {
      el.textContent = shownLabel(item.text);
    }
  };
  return widget;
}

function check(ctx, item) {
  const el = document.createElement("label");
  el.className = "sq-check";
  const box = document.createElement("input");
  box.type = item.type === "radioButton" ? "radio" : "checkbox";
  const text = document.createElement("span");
  el.append(box, text);
  const widget = { el, model: null };
  box.addEventListener("change", (event) => {
    ctx.send(dialogRequest(ctx, "check", widget.model, { number: box.checked ? 1 : 0 }), event);
    // The host's answer sets the box; until then it shows what it showed.
    box.checked = widget.model.checked === true;
  });
  widget.set = (model) => {
    widget.model = model;
    place(el, model);
    common(el, model);
    box.disabled = model.enabled === false;
    box.checked = model.checked === true;
    text.textContent = shownLabel(model.text);
  };
  return widget;
}

function entriesOf(item) {
  return Array.isArray(item.entries) ? item.entries : [];
}

function popupList(ctx) {
  const el = document.createElement("select");
  el.className = "sq-popup";
  const widget = { el, model: null };
  el.addEventListener("change", (event) => {
    ctx.send(dialogRequest(ctx, "choose", widget.model, { number: Number(el.value) }), event);
  });
  widget.set = (item) => {
    widget.model = item;
    place(el, item);
    common(el, item);
    el.disabled = item.enabled === false;
    const options = entriesOf(item).map((entry, i) => {
      const option = document.createElement("option");
      option.value = String(entry.index ?? i);
      option.textContent = entry.separator ? "────────" : shownLabel(entry.text);
      option.disabled = entry.separator === true || entry.enabled === false;
      if (entry.active) option.selected = true;
      return option;
    });
    el.replaceChildren(...options);
    if (!entriesOf(item).some((e) => e.active)) el.selectedIndex = -1;
  };
  return widget;
}

function listBox(ctx) {
  const el = document.createElement("div");
  el.className = "sq-list";
  const widget = { el, model: null };
  widget.set = (item) => {
    widget.model = item;
    place(el, item);
    common(el, item);
    el.replaceChildren(
      ...entriesOf(item).map((entry, i) => {
        const row = document.createElement("div");
        row.className = "sq-list-row";
        row.textContent = entry.separator ? "" : shownLabel(entry.text);
        row.classList.toggle("sq-active", entry.active === true);
        row.classList.toggle("sq-disabled", entry.enabled === false || entry.separator === true);
        row.addEventListener("click", (event) => {
          if (item.enabled === false || entry.enabled === false || entry.separator) return;
          ctx.send(dialogRequest(ctx, "choose", item, { number: entry.index ?? i }), event);
        });
        return row;
      }),
    );
  };
  return widget;
}

function label(ctx) {
  const el = document.createElement("div");
  el.className = "sq-static";
  return {
    el,
    set(item) {
      place(el, item);
      common(el, item);
      el.textContent = shownLabel(item.text);
    },
  };
}

function picture() {
  const el = document.createElement("img");
  el.className = "sq-picture";
  el.alt = "";
  return {
    el,
    set(item) {
      place(el, item);
      common(el, item);
      const url = pictureUrl(item.picture);
      if (url && el.src !== url) el.src = url;
      el.style.visibility = url ? "" : "hidden";
    },
  };
}

function frame() {
  const el = document.createElement("div");
  el.className = "sq-frame";
  return {
    el,
    set(item) {
      place(el, item);
      common(el, item);
      el.textContent = shownLabel(item.text);
    },
  };
}

// A custom-drawn item: its drawing operations in item-local pixels, and the mouse on it tracked.
function userItem(ctx) {
  const el = document.createElement("canvas");
  el.className = "sq-user";
  const widget = { el, model: null };
  let down = false;
  const at = (event) => {
    const r = el.getBoundingClientRect();
    return { x: Math.round(event.clientX - r.left), y: Math.round(event.clientY - r.top) };
  };
  const track = (action, event) =>
    ctx.send({ type: "track", dialog: ctx.dialog, item: widget.model.id, action, ...at(event), modifiers: modifiersOf(event) }, event);
  el.addEventListener("pointerdown", (event) => {
    if (event.button !== 0 || widget.model.enabled === false) return;
    down = true;
    el.setPointerCapture(event.pointerId);
    track("down", event);
  });
  el.addEventListener("pointermove", (event) => {
    if (widget.model.enabled !== false) track(down ? "drag" : "move", event);
  });
  el.addEventListener("pointerup", (event) => {
    if (!down) return;
    down = false;
    track("up", event);
  });
  widget.draw = () => {
    const item = widget.model;
    const b = item.bounds ?? [0, 0, 0, 0];
    const ctx2d = fitCanvas(el, Math.max(1, b[2] - b[0]), Math.max(1, b[3] - b[1]));
    ctx2d.clearRect(0, 0, b[2] - b[0], b[3] - b[1]);
    for (const op of Array.isArray(item.drawing) ? item.drawing : []) drawOp(ctx2d, op, widget.draw);
  };
  widget.set = (item) => {
    widget.model = item;
    place(el, item);
    common(el, item);
    widget.draw();
  };
  return widget;
}

// The flyout button: opening the menu sends the modifiers held at that moment, so the plug-in
// can reword its entries (Alt shows other texts).
function flyoutButton(ctx) {
  const el = document.createElement("button");
  el.type = "button";
  el.className = "sq-flyout-button";
  el.textContent = "≡";
  const widget = { el, model: null };
  el.addEventListener("pointerdown", (event) => event.stopPropagation());
  el.addEventListener("click", (event) => {
    event.stopPropagation();
    ctx.openFlyout(event);
  });
  widget.set = (item) => {
    widget.model = item;
    if (!ctx.inTitle) place(el, item);
    common(el, item);
    el.title = item.tip ?? item.tooltip ?? "Panel menu";
    el.disabled = item.enabled === false;
  };
  return widget;
}

const builders = {
  textStatic: label,
  textEdit: field,
  spinEdit: field,
  pushButton: button,
  picturePushButton: button,
  pictureStatic: picture,
  checkBox: check,
  radioButton: check,
  popupList,
  listBox,
  frame,
  user: userItem,
  popupMenu: flyoutButton,
};

// Keeps the widgets of one item list in a body element: reuses a widget while its item keeps
// its id and type, makes new ones and drops the rest.
export class ItemSet {
  constructor(body, ctx) {
    this.body = body;
    this.ctx = ctx;
    this.widgets = new Map();
  }

  set(items, flyoutSlot) {
    const seen = new Set();
    for (const given of Array.isArray(items) ? items : []) {
      if (!given || typeof given !== "object") continue;
      const item = { ...given, type: itemKind(given.type) };
      const key = String(item.id);
      seen.add(key);
      let widget = this.widgets.get(key);
      const inTitle = item.type === "popupMenu" && flyoutSlot;
      if (!widget || widget.type !== item.type) {
        widget?.el.remove();
        widget = makeWidget(item, { ...this.ctx, inTitle });
        this.widgets.set(key, widget);
        (inTitle ? flyoutSlot : this.body).append(widget.el);
      } else {
        widget.set(item);
      }
    }
    for (const [key, widget] of this.widgets) {
      if (!seen.has(key)) {
        widget.el.remove();
        this.widgets.delete(key);
      }
    }
  }

  // The widget of the item with the focus, or of the default item.
  find(predicate) {
    for (const widget of this.widgets.values()) if (widget.model && predicate(widget.model)) return widget;
    return null;
  }

  defaultItem() {
    for (const widget of this.widgets.values()) if (widget.model?.default) return widget.model;
    return null;
  }
}
