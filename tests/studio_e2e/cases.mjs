// The browser cases: what a user does in the studio page and what they must see, in the page and
// in the saved files. Points are the bundled drawing's (see tools/sqhost/examples/*.sqs).

import assert from "node:assert/strict";
import fs from "node:fs";
import http from "node:http";
import path from "node:path";
import { pagePoint, settle } from "./lib.mjs";

const TOOL = "Spindlequiver Tool";

async function chooseTool(t, name = TOOL) {
  await t.page.click(`.sq-tool[aria-label*="${name.replace(" Tool", "")}"]`);
  await settle(t.page);
  const current = await t.page.$eval(".sq-tool.sq-current", (b) => b.getAttribute("aria-label"));
  assert.match(current, new RegExp(name.replace(" Tool", "")), "the chosen tool is highlighted");
}

// Moves the mouse to an artwork point in a few steps, as a hand would.
async function moveTo(t, h, v, steps = 4) {
  const p = await pagePoint(t.page, h, v);
  await t.page.mouse.move(p.x, p.y, { steps });
  await settle(t.page);
  return p;
}

async function waveD(t) {
  return t.page.evaluate(() => {
    const host = document.querySelector(".sq-drawing");
    return host.shadowRoot.querySelector("#wave").getAttribute("d");
  });
}

async function save(t) {
  const before = t.frames.received.length;
  await t.page.click("#sq-save");
  await settle(t.page);
  const errors = t.frames.received.slice(before).filter((f) => f.msg?.type === "error");
  assert.equal(errors.length, 0, `saving gave no error (${errors.map((e) => e.msg.message)})`);
}

// Pixels of the annotation canvas that something was drawn on, around a page point.
async function inkAround(t, p, radius) {
  return t.page.evaluate(
    ([x, y, radius]) => {
      const canvas = document.querySelectorAll("#sq-view canvas")[1];
      const r = canvas.getBoundingClientRect();
      const ratio = canvas.width / r.width;
      const ctx = canvas.getContext("2d");
      const data = ctx.getImageData((x - r.left - radius) * ratio, (y - r.top - radius) * ratio, 2 * radius * ratio, 2 * radius * ratio).data;
      let ink = 0;
      for (let i = 3; i < data.length; i += 4) if (data[i] > 0) ink += 1;
      return ink;
    },
    [p.x, p.y, radius],
  );
}

// The annotation operations of the last update that had any.
function lastOps(t) {
  const frames = t.frames.received.filter((f) => f.msg?.annotations?.ops?.length > 0);
  return frames.length > 0 ? frames[frames.length - 1].msg.annotations.ops : [];
}

async function flyoutTexts(t) {
  await t.page.waitForSelector(".sq-flyout:not([hidden]) .sq-menu-entry", { timeout: 5000 });
  return t.page.$$eval(".sq-flyout .sq-menu-entry", (rows) => rows.map((r) => r.textContent));
}

// A request of a bare HTTP client: the status the server answers with.
function httpStatus(port, pathAndQuery, headers = {}) {
  return new Promise((resolve, reject) => {
    const req = http.request({ host: "127.0.0.1", port, path: pathAndQuery, headers });
    req.on("response", (res) => {
      res.resume();
      resolve(res.statusCode);
    });
    req.on("upgrade", (res, socket) => {
      socket.destroy();
      resolve(res.statusCode);
    });
    req.on("error", reject);
    req.setTimeout(5000, () => req.destroy(new Error(`no answer to ${pathAndQuery}`)));
    req.end();
  });
}

function wsHeaders(origin) {
  return {
    Connection: "Upgrade",
    Upgrade: "websocket",
    "Sec-WebSocket-Version": "13",
    "Sec-WebSocket-Key": "dGhlIHNhbXBsZSBub25jZQ==",
    Origin: origin,
  };
}

export const cases = [
  {
    // The page shows the drawing, the tool box, the panel and the folder's drawings.
    name: "page",
    async run(t) {
      await t.shot("opened");
      const shown = await t.page.evaluate(() => {
        const svg = document.querySelector(".sq-drawing").shadowRoot.querySelector("svg");
        return {
          marked: svg.querySelectorAll("[data-sq]").length,
          viewBox: svg.getAttribute("viewBox"),
          tools: document.querySelectorAll(".sq-tool").length,
          current: document.querySelectorAll(".sq-tool.sq-current").length,
          panels: [...document.querySelectorAll(".sq-panel")].filter((p) => p.style.display !== "none").length,
          name: document.getElementById("sq-doc-name").textContent,
        };
      });
      assert.ok(shown.marked >= 3, `the drawing's paths carry their numbers (${shown.marked})`);
      assert.match(shown.viewBox, /^-?[\d.]+ -?[\d.]+ [\d.]+ [\d.]+$/);
      assert.ok(shown.tools >= 2 && shown.current === 1, "the tool box shows the tools and one current");
      assert.ok(shown.panels >= 1, "the point editor panel shows");
      assert.match(shown.name, /drawing/);
      await t.page.click("#sq-open");
      await t.page.waitForSelector("#sq-file-menu .sq-menu-entry");
      const files = await t.page.$$eval("#sq-file-menu .sq-menu-entry", (rows) => rows.map((r) => r.textContent));
      await t.shot("open-menu");
      assert.deepEqual([...files].sort(), ["drawing.svg", "sub/copy.svg"]);
      // Opening the one in the sub-folder shows it.
      await t.page.click("#sq-file-menu .sq-menu-entry:nth-child(2)");
      await settle(t.page);
      assert.match(await t.page.$eval("#sq-doc-name", (e) => e.textContent), files[1].includes("copy") ? /copy/ : /drawing/);
    },
  },
  {
    // Hovering over the wave's middle point, a smooth point: the ring and its label.
    name: "hover",
    async run(t) {
      await chooseTool(t);
      const p = await moveTo(t, 150, -200);
      await t.shot("smooth-point");
      assert.ok((await inkAround(t, p, 14)) > 20, "the annotation canvas has the ring around the point");
      // The ring and the "Smooth point" label are the plug-in's pictures, drawn at the point.
      const view = await t.page.evaluate(() => document.getElementById("sq-view").getBoundingClientRect().toJSON());
      const near = lastOps(t).filter(
        (o) => o.op === "icon" && /^data:image\/png;base64,/.test(o.picture) && Math.hypot(o.at[0] + view.left - p.x, o.at[1] + view.top - p.y) < 120,
      );
      assert.ok(near.length >= 2, `the ring and the label are drawn by the point (${JSON.stringify(lastOps(t).map((o) => [o.op, o.at]))})`);
      const status = await t.page.$eval(".sq-statusbar", (e) => e.textContent);
      assert.match(status, /Spindlequiver/, "the status bar names the tool");
      assert.match(status, /X\s*150/, `the status bar shows the cursor's X (${status})`);
      // Away from the drawing the marks go.
      const away = await moveTo(t, 380, -20);
      await t.shot("away");
      assert.equal(await inkAround(t, p, 14), 0, "the ring is gone once the mouse left the point");
      assert.ok(away.x > p.x);
    },
  },
  {
    // A handle dragged: the path changes in the page and in the saved file; Ctrl+Z puts back the
    // drawing byte for byte.
    name: "drag-save-undo",
    async run(t) {
      const original = fs.readFileSync(path.join(t.root, "drawing.svg"));
      const before = await waveD(t);
      await chooseTool(t);
      const start = await moveTo(t, 180, -280);
      await t.page.mouse.down();
      for (const [h, v] of [[190, -284], [202, -288], [215, -292]]) {
        const p = await pagePoint(t.page, h, v);
        await t.page.mouse.move(p.x, p.y, { steps: 2 });
      }
      await settle(t.page);
      await t.shot("dragging");
      await t.page.mouse.up();
      await settle(t.page);
      await t.shot("dropped");
      const after = await waveD(t);
      assert.notEqual(after, before, "the page shows the dragged path");
      assert.ok(start.x > 0);
      await save(t);
      const saved = fs.readFileSync(path.join(t.root, "drawing.svg"), "utf8");
      assert.ok(saved.includes(`d="${after}"`), `the saved file has the page's path data\n${after}\n${saved}`);
      assert.ok(!saved.includes(`d="${before}"`));
      const undoTip = await t.page.$eval("#sq-undo", (b) => b.title);
      assert.match(undoTip, /^Undo ./, "the Undo button's tooltip names what it undoes");
      await t.page.keyboard.down("Control");
      await t.page.keyboard.press("z");
      await t.page.keyboard.up("Control");
      await settle(t.page);
      await t.shot("undone");
      assert.equal(await waveD(t), before, "Ctrl+Z shows the path as it was");
      await t.page.keyboard.down("Control");
      await t.page.keyboard.press("s");
      await t.page.keyboard.up("Control");
      await settle(t.page);
      assert.ok(fs.readFileSync(path.join(t.root, "drawing.svg")).equals(original), "saved after undo, the file is the original");
    },
  },
  {
    // Values typed into the panel's X field reach the host, which reads them in the field's units
    // (the page sends a plain number as a value and anything else as text).
    name: "panel-field",
    async run(t) {
      await chooseTool(t);
      const p = await moveTo(t, 150, -200);
      await t.page.mouse.click(p.x, p.y);
      await settle(t.page);
      const field = await t.page.waitForFunction(
        () => [...document.querySelectorAll(".sq-panel input.sq-field")].find((i) => i.value === "150 pt" && i.offsetParent),
        { timeout: 5000 },
      );
      await t.shot("point-selected");
      const sentBefore = t.frames.sent.length;
      await field.click({ clickCount: 3 });
      await t.page.keyboard.type("160");
      await t.page.keyboard.press("Enter");
      await settle(t.page);
      await t.shot("typed");
      const sent = t.frames.sent.slice(sentBefore).map((m) => JSON.parse(m));
      assert.deepEqual(
        sent.map((m) => [m.type, m.action, m.number ?? m.key]),
        [["dialog", "value", 160], ["dialog", "key", "enter"]],
        "Enter sends the number, then the key",
      );
      assert.equal(await field.evaluate((i) => i.value), "160 pt", "the field shows the host's reading");
      await field.click({ clickCount: 3 });
      await t.page.keyboard.type("2 in");
      await t.page.keyboard.press("Tab");
      await settle(t.page);
      assert.equal(await field.evaluate((i) => i.value), "144 pt", "a value in inches is read by the host");
      // Escape in a field puts back what the host shows.
      await field.click({ clickCount: 3 });
      await t.page.keyboard.type("999");
      await t.page.keyboard.press("Escape");
      assert.equal(await field.evaluate((i) => i.value), "144 pt");
      await settle(t.page);
      assert.equal(t.frames.sent.filter((m) => m.includes('"text":"999"') || m.includes('"number":999')).length, 0, "nothing was sent");
    },
  },
  {
    // The flyout menu opened with Alt held shows the Alt wordings; a click elsewhere closes it.
    name: "flyout-alt",
    async run(t) {
      await t.page.click(".sq-panel .sq-flyout-button");
      const plain = await flyoutTexts(t);
      await t.shot("flyout");
      await t.page.mouse.click(5, 300);
      await settle(t.page);
      assert.equal(await t.page.$eval(".sq-flyout", (m) => m.hidden), true, "a click elsewhere closes the menu");
      await t.page.keyboard.down("Alt");
      await t.page.click(".sq-panel .sq-flyout-button");
      const alt = await flyoutTexts(t);
      await t.page.keyboard.up("Alt");
      await t.shot("flyout-alt");
      assert.equal(alt.length, plain.length);
      const changed = alt.filter((text, i) => text !== plain[i]);
      assert.ok(changed.length > 0, `Alt rewords entries (plain: ${plain}; alt: ${alt})`);
      await t.page.keyboard.press("Escape");
      await settle(t.page);
      assert.equal(await t.page.$eval(".sq-flyout", (m) => m.hidden), true, "Escape closes the menu");
      // Alt, let go while the menu was open, comes up in the host once it closed.
      const last = JSON.parse(t.frames.sent[t.frames.sent.length - 1]);
      assert.deepEqual([last.type, last.action, last.key], ["key", "up", "alt"]);
    },
  },
  {
    // The About button opens the plug-in's About dialog as a modal dialog over the page; Escape
    // cancels it and the page is usable again.
    name: "about-dialog",
    async run(t) {
      await t.page.click("#sq-about");
      await t.page.waitForSelector(".sq-dialog", { visible: true, timeout: 10000 });
      await settle(t.page);
      await t.shot("dialog");
      const title = await t.page.$eval(".sq-dialog-title", (e) => e.textContent);
      assert.equal(title, "About Spindlequiver", "the dialog has the plug-in's title");
      const body = await t.page.$eval(".sq-dialog-body", (e) => e.textContent);
      assert.match(body, /Spindlequiver \d/, "the items the plug-in built show their texts");
      assert.ok(await t.page.$(".sq-dialog-body button"), "its OK button is there");
      await t.page.keyboard.press("Escape");
      await t.page.waitForFunction(() => document.querySelector(".sq-dialog") === null, { timeout: 10000 });
      await settle(t.page);
      await t.shot("cancelled");
      assert.equal(await t.page.$eval(".sq-backdrop", (e) => e.hidden), true, "the page is usable again");
    },
  },
  {
    // A path at the largest number of points: Alt-click on a segment cannot add one, and the
    // plug-in says so in an alert, answered with OK.
    name: "alert",
    async run(t) {
      const points = ["M 20 20"];
      for (let i = 1; i < 31999; i++) points.push(i % 2 ? "L 21 20" : "L 20 20");
      points.push("L 380 280");
      fs.writeFileSync(
        path.join(t.root, "full.svg"),
        `<svg xmlns="http://www.w3.org/2000/svg" width="400" height="300" viewBox="0 0 400 300">\n` +
          `<path id="full" d="${points.join(" ")}" fill="none" stroke="#000"/>\n</svg>\n`,
      );
      const original = fs.readFileSync(path.join(t.root, "full.svg"));
      await t.page.evaluate(() => window.studio.send({ type: "open", file: "full.svg" }));
      await settle(t.page, 30000);
      await chooseTool(t);
      const p = await pagePoint(t.page, 200, -150);
      await t.page.keyboard.down("Alt");
      await t.page.mouse.move(p.x, p.y, { steps: 3 });
      await settle(t.page);
      await t.page.mouse.down();
      await t.page.mouse.up();
      await t.page.waitForSelector(".sq-alert", { timeout: 10000 });
      await t.page.keyboard.up("Alt");
      await t.shot("alert");
      assert.match(await t.page.$eval(".sq-alert-text", (e) => e.textContent), /maximum number of points/);
      const before = await t.page.evaluate(() => window.studio.lastSeq);
      await t.page.click(".sq-alert-ok");
      // The OK gets its own reply: the update after the alert closed.
      await t.page.waitForFunction(
        (seq) => window.studio.lastSeq > seq && document.querySelector(".sq-alert") === null,
        { timeout: 10000 },
        before,
      );
      await settle(t.page);
      await t.shot("answered");
      assert.equal(await t.page.$(".sq-alert"), null, "OK closes the alert");
      assert.equal(await t.page.$eval(".sq-backdrop", (e) => e.hidden), true);
      await save(t);
      assert.ok(fs.readFileSync(path.join(t.root, "full.svg")).equals(original), "the full path is unchanged");
    },
  },
  {
    // What a stranger or a broken client sends is refused, and changes nothing.
    name: "bad-requests",
    async run(t) {
      const { port, token } = t.studio;
      assert.equal(await httpStatus(port, "/"), 403, "no token");
      assert.equal(await httpStatus(port, "/?token=wrong"), 403, "a wrong token");
      assert.equal(await httpStatus(port, `/studio.js?token=${token}`), 200);
      assert.equal(await httpStatus(port, `/nothing.js?token=${token}`), 404);
      assert.equal(await httpStatus(port, `/ws?token=${token}`, wsHeaders("http://evil.example")), 403, "a foreign Origin");
      assert.equal(await httpStatus(port, "/ws?token=wrong", wsHeaders(`http://127.0.0.1:${port}`)), 403, "a WebSocket without the token");

      fs.writeFileSync(path.join(path.dirname(t.root), "outside.svg"), fs.readFileSync(path.join(t.examples, "drawing.svg")));
      const before = await waveD(t);
      for (const file of ["../outside.svg", "/etc/passwd", "notes.txt"]) {
        const seq = await t.page.evaluate((file) => window.studio.send({ type: "open", file }), file);
        const reply = await t.frames.reply(seq);
        assert.equal(reply.msg.type, "error", `open ${file} is refused`);
        assert.ok(reply.msg.message.length > 0);
      }
      fs.rmSync(path.join(path.dirname(t.root), "outside.svg"));
      await settle(t.page);
      assert.equal(await waveD(t), before, "the document is still the one that was open");
      assert.match(await t.page.$eval("#sq-doc-name", (e) => e.textContent), /drawing/);
      await t.shot("refused-open");

      const errorsBefore = t.frames.received.filter((f) => f.msg?.type === "error").length;
      await t.page.evaluate(() => window.studio.sendRaw("{not json"));
      await t.page.evaluate(() => window.studio.sendRaw(JSON.stringify({ type: "mouse", action: "fly", x: 1, y: 2, seq: 9999 })));
      const seq = await t.page.evaluate(() => window.studio.send({ type: "files" }));
      const files = await t.frames.reply(seq);
      assert.deepEqual([...files.msg.files].sort(), ["drawing.svg", "sub/copy.svg"], "the connection still works");
      const errors = t.frames.received.filter((f) => f.msg?.type === "error").slice(errorsBefore);
      assert.equal(errors.length, 2, "each bad message has its error");
      assert.match(errors[1].msg.message, /action/, "the error names the bad field");
      assert.equal(errors[1].msg.seq, 9999);
      await t.shot("after-bad-messages");
    },
  },
  {
    // The page loses its connection and gets it back: the banner shows, then the same session.
    name: "reconnect",
    async run(t) {
      await chooseTool(t);
      await t.page.evaluate(() => window.studio.dropConnection());
      await t.page.waitForFunction(() => !document.getElementById("sq-banner").hidden, { timeout: 5000 });
      await t.page.waitForFunction(() => document.getElementById("sq-banner").hidden, { timeout: 10000 });
      await settle(t.page);
      await t.shot("reconnected");
      const current = await t.page.$eval(".sq-tool.sq-current", (b) => b.getAttribute("aria-label"));
      assert.match(current, /Spindlequiver/, "the host kept the session's tool");
    },
  },
];
