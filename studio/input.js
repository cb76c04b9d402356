// What the user does over the view and with the keyboard, as requests: pointer and wheel input
// coalesced so the host never falls behind, keys mapped to the host's words, and the latency log.

// Modules are loaded with the page's own query (its token), as every request of the page must be.
const query = new URL(import.meta.url).search;
const { modifiersOf } = await import(`./connection.js${query}`);

// A stream of requests of which only the latest matters (moves, drags, scrolls): at most one is
// in flight; newer ones wait in one slot, replaced by newer still, until its reply arrives.
export class Coalescer {
  constructor(send) {
    this.send = send;
    this.inflight = 0;
    this.pending = null;
    this.timer = 0;
  }

  offer(request, event, merge) {
    if (this.inflight === 0) {
      this.dispatch(request, event);
    } else {
      const merged = merge && this.pending ? merge(this.pending, { request, event }) : null;
      // Requests that cannot be merged keep their order: the older one goes now.
      if (this.pending && merge && !merged) this.flush();
      this.pending = merged ?? { request, event };
    }
  }

  dispatch(request, event) {
    this.inflight = this.send(request, event);
    clearTimeout(this.timer);
    // A reply that never comes (a lost connection) must not stop the stream for good.
    if (this.inflight !== 0) this.timer = setTimeout(() => this.replied(this.inflight), 3000);
  }

  // The reply for seq arrived: the waiting request, if any, goes now.
  replied(seq) {
    if (this.inflight === 0 || seq < this.inflight) return;
    this.inflight = 0;
    clearTimeout(this.timer);
    const next = this.pending;
    this.pending = null;
    if (next) this.dispatch(next.request, next.event);
  }

  // Sends what waits at once (before a request that must follow it in order).
  flush() {
    const next = this.pending;
    this.pending = null;
    if (next) this.dispatch(next.request, next.event);
  }

  reset() {
    this.inflight = 0;
    this.pending = null;
    clearTimeout(this.timer);
  }
}

// Keys the host knows by name, by KeyboardEvent.key.
const HOST_KEYS = { " ": "space", Escape: "esc", c: "c", C: "c", Shift: "shift", Control: "ctrl", Alt: "alt" };

function inTextField(target) {
  if (!(target instanceof Element)) return false;
  return target.closest("input, select, textarea, [contenteditable]") !== null;
}

export class Input {
  // connection: sends requests; hooks: { undo, redo, save, dialogKey(event) → handled,
  // viewState() → {zoom} }.
  constructor(connection, hooks) {
    this.connection = connection;
    this.hooks = hooks;
    this.latency = new Map();
    this.pointer = new Coalescer((r, e) => this.send(r, e));
    this.wheel = new Coalescer((r, e) => this.send(r, e));
    this.held = new Set();
    this.sizeTimer = 0;
    this.lastSize = null;
    document.addEventListener("keydown", (e) => this.key(e, "down"));
    document.addEventListener("keyup", (e) => this.key(e, "up"));
    // Keys let go while the page had no focus would stay down in the host.
    window.addEventListener("blur", () => this.releaseKeys());
  }

  // Sends a request caused by an input event and notes it in the latency log.
  send(request, event) {
    const seq = this.connection.send(request);
    if (seq !== 0 && event) {
      const kind = request.type === "mouse" ? `mouse ${request.action}` : request.type;
      this.latency.set(seq, { seq, kind, input: event.timeStamp, sent: performance.now() });
      if (this.latency.size > 5000) this.latency.delete(this.latency.keys().next().value);
    }
    return seq;
  }

  // A reply for seq arrived (update or error); bytes: its size; applied after it was drawn.
  replied(seq, bytes) {
    const entry = this.latency.get(seq);
    if (entry) {
      entry.bytes = bytes;
      entry.applied = performance.now();
      requestAnimationFrame(() => {
        entry.paint = performance.now();
      });
    }
    this.pointer.replied(seq);
    this.wheel.replied(seq);
  }

  reconnected() {
    this.pointer.reset();
    this.wheel.reset();
    this.held.clear();
  }

  mouse(action, [x, y], modifiers, event) {
    const request = { type: "mouse", action, x, y, modifiers };
    if (action === "move" || action === "drag") {
      this.pointer.offer(request, event);
    } else {
      // A press or release follows the moves before it, in order.
      if (action === "up" && this.pointer.pending?.request.action === "drag") {
        this.pointer.pending.request = { ...this.pointer.pending.request, x, y };
      }
      this.pointer.flush();
      this.send(request, event);
    }
  }

  scroll(dx, dy, event) {
    this.wheel.offer({ type: "view", scroll: [dx, dy] }, event, (a, b) =>
      a.request.scroll
        ? { request: { type: "view", scroll: [a.request.scroll[0] + dx, a.request.scroll[1] + dy] }, event: b.event }
        : null,
    );
  }

  // Zooms by a factor keeping the view pixel `at` still; steps that wait add up.
  zoom(factor, at, event) {
    const pending = this.wheel.pending?.request;
    const base = pending?.zoom ?? (this.wheel.inflight !== 0 && this.zoomSent ? this.zoomSent : this.hooks.viewState().zoom || 1);
    const request = { type: "view", zoom: clampZoom(base * factor), at };
    this.wheel.offer(request, event, (a, b) => (a.request.zoom !== undefined ? b : null));
    this.zoomSent = request.zoom;
  }

  // The view's container changed size: tell the host once it settles.
  resized(size) {
    clearTimeout(this.sizeTimer);
    this.sizeTimer = setTimeout(() => {
      if (this.lastSize && this.lastSize[0] === size[0] && this.lastSize[1] === size[1]) return;
      this.lastSize = size;
      this.connection.send({ type: "view", size });
    }, 80);
  }

  releaseKeys() {
    for (const key of this.held) this.connection.send({ type: "key", action: "up", key, modifiers: [] });
    this.held.clear();
  }

  key(event, action) {
    if (this.hooks.dialogKey(event, action)) return;
    if (inTextField(event.target)) return;
    const ctrl = event.ctrlKey || event.metaKey;
    if (action === "down" && ctrl && !event.altKey) {
      const k = event.key.toLowerCase();
      if (k === "z" || k === "y" || k === "s") {
        event.preventDefault();
        if (k === "s") this.hooks.save();
        else if (k === "y" || event.shiftKey) this.hooks.redo(event);
        else this.hooks.undo(event);
        return;
      }
    }
    if (action === "down" && event.key === "]") {
      event.preventDefault();
      this.send({ type: "increaseDiameter", modifiers: modifiersOf(event) }, event);
      return;
    }
    const name = HOST_KEYS[event.key];
    if (!name) return;
    // Space would scroll the page and Alt would focus the browser's menu.
    event.preventDefault();
    if (action === "down") {
      if (event.repeat || this.held.has(name)) return;
      this.held.add(name);
    } else {
      if (!this.held.has(name)) return;
      this.held.delete(name);
    }
    this.pointer.flush();
    this.send({ type: "key", action, key: name, modifiers: modifiersOf(event) }, event);
  }

  // The log as plain records, oldest first.
  latencyLog() {
    return [...this.latency.values()].map((e) => ({ ...e }));
  }
}

function clampZoom(z) {
  return Math.min(64, Math.max(1 / 32, z));
}
