// The page's WebSocket to the host: numbered requests, replies by seq, reconnection with backoff.

export class Connection {
  // url: the ws:// address with the token; onMessage(msg, bytes) gets every parsed reply;
  // onState(state) gets "open", "reconnecting" or "connecting". connect() starts it.
  constructor(url, { onMessage, onState, onOpen }) {
    this.url = url;
    this.onMessage = onMessage;
    this.onState = onState;
    this.onOpen = onOpen;
    this.nextSeq = 1;
    this.socket = null;
    this.delay = 250;
    this.timer = 0;
  }

  get open() {
    return this.socket !== null && this.socket.readyState === WebSocket.OPEN;
  }

  connect() {
    this.onState("connecting");
    const socket = new WebSocket(this.url);
    this.socket = socket;
    socket.addEventListener("open", () => {
      this.delay = 250;
      this.onState("open");
      this.onOpen();
    });
    socket.addEventListener("message", (event) => {
      if (typeof event.data !== "string") return;
      let msg;
      try {
        msg = JSON.parse(event.data);
      } catch {
        console.warn("studio: a reply that is not JSON was ignored");
        return;
      }
      if (msg && typeof msg === "object") this.onMessage(msg, event.data.length);
    });
    socket.addEventListener("close", () => {
      if (this.socket !== socket) return;
      this.socket = null;
      this.onState("reconnecting");
      clearTimeout(this.timer);
      this.timer = setTimeout(() => this.connect(), this.delay);
      this.delay = Math.min(this.delay * 2, 4000);
    });
  }

  // Sends a request and returns its seq, or 0 when the socket is not open (the request is
  // dropped: the page asks for a full update when it reconnects).
  send(request) {
    if (!this.open) return 0;
    const seq = this.nextSeq++;
    this.socket.send(JSON.stringify({ ...request, seq }));
    return seq;
  }
}

// The modifier words of an input event.
export function modifiersOf(event) {
  const mods = [];
  if (event.shiftKey) mods.push("shift");
  if (event.ctrlKey || event.metaKey) mods.push("ctrl");
  if (event.altKey) mods.push("alt");
  return mods;
}
