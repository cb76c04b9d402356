// The document view: the drawing as SVG, the selection and annotation overlays, the cursor, and
// the mouse and wheel input over it.

// Modules are loaded with the page's own query (its token), as every request of the page must be.
const query = new URL(import.meta.url).search;
const { drawOp, fitCanvas } = await import(`./draw.js${query}`);
const { modifiersOf } = await import(`./connection.js${query}`);

const SVG_NS = "http://www.w3.org/2000/svg";

// Removes what could run code or reach outside the page from a drawing before it is shown: script
// elements, foreign objects, event-handler attributes and references other than to the drawing
// itself or to embedded data.
export function sanitizeSvg(root) {
  for (const bad of root.querySelectorAll("script, foreignObject")) bad.remove();
  for (const element of [root, ...root.querySelectorAll("*")]) {
    for (const attr of [...element.attributes]) {
      const name = attr.name.toLowerCase();
      const local = attr.localName.toLowerCase();
      if (name.startsWith("on")) {
        element.removeAttributeNode(attr);
      } else if (local === "href" || local === "src") {
        const value = attr.value.trim().toLowerCase();
        if (!value.startsWith("#") && !value.startsWith("data:image/")) {
          element.removeAttributeNode(attr);
        }
      }
    }
  }
  return root;
}

// The document's page in its own user units: the root's viewBox, else its width and height.
function artboardOf(svg) {
  const box = (svg.getAttribute("viewBox") ?? "").trim().split(/[\s,]+/).map(Number);
  if (box.length === 4 && box.every(Number.isFinite) && box[2] > 0 && box[3] > 0) return box;
  const w = parseFloat(svg.getAttribute("width") ?? "");
  const h = parseFloat(svg.getAttribute("height") ?? "");
  return [0, 0, Number.isFinite(w) && w > 0 ? w : 0, Number.isFinite(h) && h > 0 ? h : 0];
}

const STANDARD_CURSORS = {
  arrow: "default",
  cross: "crosshair",
  crosshair: "crosshair",
  ibeam: "text",
  text: "text",
  wait: "wait",
  hand: "grab",
  move: "move",
};

export class DocumentView {
  // element: the view's container; input: the page's input router (mouse, wheel, size).
  constructor(element, input) {
    this.element = element;
    this.input = input;
    this.state = { width: 0, height: 0, zoom: 1, left: 0, top: 0 };
    this.svg = null;
    this.elements = new Map();
    this.selection = null;
    this.annotationsDrawn = false;

    this.artboard = document.createElementNS(SVG_NS, "svg");
    this.artboard.classList.add("sq-artboard");
    this.artboard.setAttribute("preserveAspectRatio", "none");
    this.artboardRect = document.createElementNS(SVG_NS, "rect");
    this.artboard.append(this.artboardRect);
    this.drawingHost = document.createElement("div");
    this.drawingHost.className = "sq-drawing";
    // The drawing's own style sheets stay inside the drawing.
    this.drawingRoot = this.drawingHost.attachShadow({ mode: "open" });
    this.selectionCanvas = document.createElement("canvas");
    this.selectionCanvas.className = "sq-overlay";
    this.annotationCanvas = document.createElement("canvas");
    this.annotationCanvas.className = "sq-overlay";
    this.emptyNote = document.createElement("div");
    this.emptyNote.className = "sq-empty-note";
    this.emptyNote.textContent = "No document is open. Choose one with Open.";
    element.append(
      this.artboard,
      this.drawingHost,
      this.selectionCanvas,
      this.annotationCanvas,
      this.emptyNote,
    );
    this.listen();
  }

  // The size the view's container has now, in whole pixels.
  containerSize() {
    const r = this.element.getBoundingClientRect();
    return [Math.max(1, Math.floor(r.width)), Math.max(1, Math.floor(r.height))];
  }

  setDocument(doc) {
    this.elements.clear();
    this.drawingRoot.replaceChildren();
    this.svg = null;
    this.artboard.style.display = "none";
    const shown = doc && typeof doc.svg === "string";
    this.emptyNote.style.display = shown ? "none" : "";
    this.emptyNote.textContent = !doc
      ? "No document is open. Choose one with Open."
      : shown
        ? ""
        : `The drawing cannot be shown: ${doc.error ?? "the host sent no picture of it"}`;
    if (!shown) return;
    const parsed = new DOMParser().parseFromString(doc.svg, "image/svg+xml");
    const root = parsed.documentElement;
    if (!root || root.namespaceURI !== SVG_NS || root.localName !== "svg") {
      const error = parsed.querySelector("parsererror");
      throw new Error(`the drawing could not be read: ${error?.textContent?.trim() ?? "no svg element"}`);
    }
    const svg = sanitizeSvg(document.importNode(root, true));
    this.page = artboardOf(svg);
    svg.setAttribute("preserveAspectRatio", "none");
    svg.classList.add("sq-svg");
    for (const e of svg.querySelectorAll("[data-sq]")) this.elements.set(e.getAttribute("data-sq"), e);
    this.svg = svg;
    this.drawingRoot.append(svg);
    const [x, y, w, h] = this.page;
    this.artboardRect.setAttribute("x", x);
    this.artboardRect.setAttribute("y", y);
    this.artboardRect.setAttribute("width", w);
    this.artboardRect.setAttribute("height", h);
    this.artboard.style.display = w > 0 && h > 0 ? "" : "none";
    this.layout();
  }

  // Attributes of shown elements; a null value removes one.
  setPaths(paths) {
    if (!Array.isArray(paths)) return;
    for (const p of paths) {
      const element = this.elements.get(String(p?.e));
      if (!element || !p.attrs || typeof p.attrs !== "object") continue;
      for (const [name, value] of Object.entries(p.attrs)) {
        if (name.toLowerCase().startsWith("on")) continue;
        const colon = name.indexOf(":");
        if (value === null) {
          if (colon > 0) {
            for (const a of [...element.attributes]) if (a.name === name) element.removeAttributeNode(a);
          } else {
            element.removeAttribute(name);
          }
        } else if (colon > 0) {
          // A prefixed attribute keeps the namespace the drawing declared for its prefix.
          const ns = element.lookupNamespaceURI(name.slice(0, colon));
          if (ns) element.setAttributeNS(ns, name, String(value));
        } else {
          element.setAttribute(name, String(value));
        }
      }
    }
  }

  setView(view) {
    if (!view || typeof view !== "object") return;
    for (const key of ["width", "height", "zoom", "left", "top"]) {
      if (typeof view[key] === "number" && Number.isFinite(view[key])) this.state[key] = view[key];
    }
    this.layout();
  }

  layout() {
    const { width, height, zoom, left, top } = this.state;
    if (!(width > 0 && height > 0 && zoom > 0)) return;
    const viewBox = `${left} ${-top} ${width / zoom} ${height / zoom}`;
    for (const svg of [this.svg, this.artboard]) {
      if (!svg) continue;
      svg.setAttribute("viewBox", viewBox);
      svg.setAttribute("width", width);
      svg.setAttribute("height", height);
    }
    const resized = this.selectionCanvas.style.width !== `${width}px` ||
      this.selectionCanvas.style.height !== `${height}px`;
    if (resized) {
      fitCanvas(this.annotationCanvas, width, height);
      this.drawSelection(this.selection);
    }
  }

  drawSelection(selection) {
    this.selection = selection;
    const ctx = fitCanvas(this.selectionCanvas, this.state.width, this.state.height);
    ctx.clearRect(0, 0, this.state.width, this.state.height);
    if (!selection || !Array.isArray(selection.paths)) return;
    ctx.lineWidth = 1;
    for (const path of selection.paths) {
      const color = /^#[0-9a-f]{6}$/i.test(path.color ?? "") ? path.color : "#4f80ff";
      ctx.strokeStyle = color;
      ctx.fillStyle = color;
      ctx.save();
      ctx.translate(0.5, 0.5);
      if (typeof path.outline === "string" && path.outline.length > 0) {
        try {
          ctx.stroke(new Path2D(path.outline));
        } catch {
          // An outline the canvas cannot read is left out; the rest still shows.
        }
      }
      for (const h of path.handles ?? []) {
        if (!Array.isArray(h) || h.length < 4) continue;
        ctx.beginPath();
        ctx.moveTo(h[0], h[1]);
        ctx.lineTo(h[2], h[3]);
        ctx.stroke();
        ctx.beginPath();
        ctx.arc(h[2], h[3], 2.5, 0, 2 * Math.PI);
        ctx.fill();
      }
      ctx.restore();
      for (const a of path.anchors ?? []) {
        if (!Array.isArray(a) || a.length < 2) continue;
        const x = Math.round(a[0]) - 2;
        const y = Math.round(a[1]) - 2;
        if (a[2]) {
          ctx.fillStyle = color;
          ctx.fillRect(x, y, 5, 5);
        } else {
          ctx.fillStyle = "#ffffff";
          ctx.fillRect(x, y, 5, 5);
          ctx.strokeStyle = color;
          ctx.strokeRect(x + 0.5, y + 0.5, 4, 4);
        }
      }
    }
  }

  drawAnnotations(annotations) {
    if (!annotations || typeof annotations !== "object") return;
    const ctx = fitCanvas(this.annotationCanvas, this.state.width, this.state.height);
    if (annotations.whole) {
      ctx.clearRect(0, 0, this.state.width, this.state.height);
    } else {
      for (const r of annotations.rects ?? []) {
        if (Array.isArray(r) && r.length === 4) ctx.clearRect(r[0], r[1], r[2] - r[0], r[3] - r[1]);
      }
    }
    const ops = Array.isArray(annotations.ops) ? annotations.ops : [];
    const redraw = () => this.drawAnnotations(annotations);
    for (const op of ops) drawOp(ctx, op, redraw);
    this.annotationsDrawn = ops.length > 0;
  }

  setCursor(cursor) {
    if (!cursor || typeof cursor !== "object") return;
    if (typeof cursor.png === "string" && cursor.png.startsWith("data:image/")) {
      const [hx, hy] = Array.isArray(cursor.hotspot) ? cursor.hotspot.map((v) => Math.round(+v) || 0) : [0, 0];
      this.element.style.cursor = `url("${cursor.png}") ${hx} ${hy}, auto`;
    } else {
      this.element.style.cursor = STANDARD_CURSORS[cursor.standard] ?? "default";
    }
  }

  // View pixels of a pointer event.
  where(event) {
    const r = this.element.getBoundingClientRect();
    const round = (v) => Math.round(v * 100) / 100;
    return [round(event.clientX - r.left), round(event.clientY - r.top)];
  }

  listen() {
    const el = this.element;
    let dragging = false;
    let last = [0, 0];
    el.addEventListener("pointerdown", (event) => {
      if (event.button !== 0 || dragging) return;
      event.preventDefault();
      document.activeElement?.blur?.();
      dragging = true;
      last = this.where(event);
      el.setPointerCapture(event.pointerId);
      this.input.mouse("down", last, modifiersOf(event), event);
    });
    // Moves go out as soon as the browser hears of them: pointerrawupdate is not held back to
    // the next animation frame as pointermove is, which would add most of a frame to every step.
    const moveEvent = "onpointerrawupdate" in el ? "pointerrawupdate" : "pointermove";
    el.addEventListener(moveEvent, (event) => {
      last = this.where(event);
      this.input.mouse(dragging ? "drag" : "move", last, modifiersOf(event), event);
    });
    const finish = (event) => {
      if (!dragging) return;
      dragging = false;
      if (event.type === "pointerup") last = this.where(event);
      if (el.hasPointerCapture(event.pointerId)) el.releasePointerCapture(event.pointerId);
      this.input.mouse("up", last, modifiersOf(event), event);
    };
    el.addEventListener("pointerup", finish);
    el.addEventListener("pointercancel", finish);
    el.addEventListener("lostpointercapture", finish);
    el.addEventListener("contextmenu", (event) => event.preventDefault());
    el.addEventListener(
      "wheel",
      (event) => {
        event.preventDefault();
        const unit = event.deltaMode === 1 ? 16 : event.deltaMode === 2 ? this.state.height : 1;
        if (event.ctrlKey || event.metaKey) {
          const factor = Math.exp(-event.deltaY * unit * 0.002);
          this.input.zoom(factor, this.where(event), event);
        } else {
          let dx = event.deltaX * unit;
          let dy = event.deltaY * unit;
          if (event.shiftKey && dx === 0) [dx, dy] = [dy, 0];
          this.input.scroll(dx, dy, event);
        }
      },
      { passive: false },
    );
    new ResizeObserver(() => this.input.resized(this.containerSize())).observe(el);
  }
}
