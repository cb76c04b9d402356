// The studio page: connects to the host, applies its updates to the view, the tool box, the
// panels and dialogs, and exposes a small hook (window.studio) for tests and benchmarks.

// Modules are loaded with the page's own query (its token), as every request of the page must be.
const query = new URL(import.meta.url).search;
const { Connection } = await import(`./connection.js${query}`);
const { DocumentView } = await import(`./view.js${query}`);
const { Input } = await import(`./input.js${query}`);
const { Dialogs } = await import(`./dialogs.js${query}`);
const { Chrome } = await import(`./chrome.js${query}`);

const token = new URLSearchParams(location.search).get("token") ?? "";
const $ = (id) => document.getElementById(id);

let resolveReady;
const ready = new Promise((resolve) => {
  resolveReady = resolve;
});

const studio = { lastSeq: 0, ready, updates: 0, errors: [] };
window.studio = studio;

let input = null;
const send = (request, event) => input.send(request, event ?? null);

const connection = new Connection(
  `ws://${location.host}/ws?token=${encodeURIComponent(token)}`,
  {
    onMessage: (msg, bytes) => receive(msg, bytes),
    onState: (state) => chrome.setConnection(state),
    onOpen: () => {
      input.reconnected();
      connection.send({ type: "hello" });
      const size = view.containerSize();
      input.lastSize = size;
      connection.send({ type: "view", size });
    },
  },
);

const chrome = new Chrome(
  {
    open: $("sq-open"),
    fileMenu: $("sq-file-menu"),
    panelsButton: $("sq-panels"),
    panelMenu: $("sq-panel-menu"),
    save: $("sq-save"),
    undo: $("sq-undo"),
    redo: $("sq-redo"),
    zoomOut: $("sq-zoom-out"),
    zoomIn: $("sq-zoom-in"),
    fit: $("sq-fit"),
    about: $("sq-about"),
    zoomLevel: $("sq-zoom-level"),
    docName: $("sq-doc-name"),
    toolbox: $("sq-toolbox"),
    statusTool: $("sq-status-tool"),
    statusInfo: $("sq-status-info"),
    statusSnap: $("sq-status-snap"),
    statusMessage: $("sq-status-message"),
    banner: $("sq-banner"),
  },
  send,
);
const dialogs = new Dialogs($("sq-workspace"), send);
chrome.setPanelSource(() => dialogs.panelList());
input = new Input(connection, {
  undo: (event) => send({ type: "undo" }, event),
  redo: (event) => send({ type: "redo" }, event),
  save: () => send({ type: "save" }),
  dialogKey: (event, action) => dialogs.dialogKey(event, action),
  viewState: () => view.state,
});
const view = new DocumentView($("sq-view"), input);
// Keys let go while the flyout menu had the keyboard come up in the host once it closes.
dialogs.onFlyoutClosed = () => input.releaseKeys();

function apply(msg) {
  if ("document" in msg) {
    chrome.setDocument(msg.document);
    try {
      view.setDocument(msg.document);
    } catch (error) {
      chrome.error(error.message);
    }
  }
  if ("view" in msg) {
    view.setView(msg.view);
    chrome.setView(msg.view);
  }
  if ("paths" in msg) view.setPaths(msg.paths);
  if ("selection" in msg) view.drawSelection(msg.selection);
  if ("annotations" in msg) view.drawAnnotations(msg.annotations);
  if ("cursor" in msg) view.setCursor(msg.cursor);
  if ("tools" in msg) chrome.setTools(msg.tools);
  if ("panels" in msg) dialogs.setPanels(msg.panels);
  if ("modal" in msg) dialogs.setModal(msg.modal);
  if ("alert" in msg) dialogs.setAlert(msg.alert);
  if ("flyout" in msg) dialogs.setFlyout(msg.flyout);
  if ("status" in msg) chrome.setStatus(msg.status);
  if ("files" in msg) chrome.setFiles(msg.files);
}

function receive(msg, bytes) {
  const seq = Number.isInteger(msg.seq) ? msg.seq : 0;
  if (msg.type === "update") {
    try {
      apply(msg);
    } catch (error) {
      console.error(error);
      chrome.error(`The page could not show an update: ${error.message}`);
    }
    studio.updates += 1;
    if (msg.full) requestAnimationFrame(() => resolveReady());
  } else if (msg.type === "error") {
    const text = String(msg.message ?? "error");
    studio.errors.push({ seq, message: text });
    if (studio.errors.length > 100) studio.errors.shift();
    chrome.error(text);
  } else {
    return;
  }
  if (seq > studio.lastSeq) studio.lastSeq = seq;
  input.replied(seq, bytes);
}

connection.connect();

studio.latencyLog = () => input.latencyLog();
studio.clearLatencyLog = () => input.latency.clear();
studio.send = (request) => connection.send(request);
// A message as it is, for tests of how the host takes bad input.
studio.sendRaw = (text) => connection.socket?.send(text);
studio.sentSeq = () => connection.nextSeq - 1;
studio.dropConnection = () => connection.socket?.close();
studio.view = () => ({ ...view.state });
