// Shared by the browser tests and the latency benchmark: starting `sqhost studio` on a folder,
// launching Chromium, and watching the page's WebSocket frames.

import { spawn } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import puppeteer from "puppeteer-core";

export const CHROMIUM = process.env.SQ_CHROMIUM ?? "/usr/bin/chromium";

// Options of the form --name value.
export function parseArgs(argv, names) {
  const out = {};
  for (let i = 0; i < argv.length; i++) {
    const name = argv[i].replace(/^--/, "");
    if (!argv[i].startsWith("--") || !names.includes(name) || i + 1 >= argv.length) {
      throw new Error(`unknown or incomplete option "${argv[i]}" (expected ${names.map((n) => `--${n} VALUE`).join(", ")})`);
    }
    out[name] = argv[++i];
  }
  return out;
}

export function tempDir(prefix) {
  return fs.mkdtempSync(path.join(os.tmpdir(), prefix));
}

// Starts `sqhost studio` on root with its preference file at prefs; resolves when it printed its
// address. The process's output is kept in the returned log.
export function startStudio(sqhost, root, prefs, extraArgs = []) {
  const child = spawn(sqhost, ["studio", "--port", "0", "--root", root, "--prefs", prefs, ...extraArgs], {
    stdio: ["ignore", "pipe", "pipe"],
  });
  const studio = { child, log: "", url: null };
  return new Promise((resolve, reject) => {
    const timer = setTimeout(() => {
      child.kill();
      reject(new Error(`sqhost studio printed no address within 20 s:\n${studio.log}`));
    }, 20000);
    const read = (chunk) => {
      studio.log += chunk.toString();
      const m = /studio: (http:\/\/127\.0\.0\.1:(\d+)\/\?token=(\S+))/.exec(studio.log);
      if (m && !studio.url) {
        clearTimeout(timer);
        studio.url = m[1];
        studio.port = Number(m[2]);
        studio.token = m[3];
        studio.origin = `http://127.0.0.1:${studio.port}`;
        resolve(studio);
      }
    };
    child.stdout.on("data", read);
    child.stderr.on("data", read);
    child.on("exit", (code) => {
      studio.exited = code;
      if (!studio.url) {
        clearTimeout(timer);
        reject(new Error(`sqhost studio exited with ${code} before printing its address:\n${studio.log}`));
      }
    });
  });
}

export async function stopStudio(studio) {
  if (!studio || studio.exited !== undefined) return;
  const exited = new Promise((resolve) => studio.child.on("exit", resolve));
  studio.child.kill("SIGTERM");
  const timer = setTimeout(() => studio.child.kill("SIGKILL"), 5000);
  await exited;
  clearTimeout(timer);
}

export async function launchBrowser() {
  const args = ["--disable-gpu", "--font-render-hinting=none", "--disable-features=Translate"];
  if (process.getuid?.() === 0) args.push("--no-sandbox");
  return puppeteer.launch({ executablePath: CHROMIUM, headless: true, args });
}

// Opens the studio's page and waits until its first full update is drawn. Frames the page gets
// are collected (parsed, with their sizes) in the returned watcher.
export async function openPage(browser, url, { width = 1280, height = 800 } = {}) {
  const page = await browser.newPage();
  await page.setViewport({ width, height, deviceScaleFactor: 1 });
  const problems = [];
  page.on("pageerror", (e) => problems.push(`page error: ${e.message}`));
  page.on("console", (m) => {
    if (m.type() === "error") problems.push(`console: ${m.text()}`);
  });
  const frames = await watchFrames(page);
  await page.goto(url, { waitUntil: "load" });
  await page.waitForFunction(() => window.studio !== undefined, { timeout: 10000 });
  await page.evaluate(() => window.studio.ready.then(() => true));
  return { page, frames, problems };
}

// Every WebSocket frame the page receives, through the DevTools protocol.
export async function watchFrames(page) {
  const client = await page.createCDPSession();
  await client.send("Network.enable");
  const watcher = { received: [], sent: [] };
  client.on("Network.webSocketFrameReceived", ({ response }) => {
    let msg = null;
    try {
      msg = JSON.parse(response.payloadData);
    } catch {
      msg = null;
    }
    watcher.received.push({ bytes: Buffer.byteLength(response.payloadData), msg });
  });
  client.on("Network.webSocketFrameSent", ({ response }) => {
    watcher.sent.push(response.payloadData);
  });
  // The reply with this seq, waited for.
  watcher.reply = async (seq, timeout = 10000) => {
    const start = Date.now();
    for (;;) {
      const found = watcher.received.find((f) => f.msg?.seq === seq);
      if (found) return found;
      if (Date.now() - start > timeout) throw new Error(`no reply for seq ${seq} within ${timeout} ms`);
      await new Promise((r) => setTimeout(r, 10));
    }
  };
  return watcher;
}

// Waits until the page has had the replies of every request it sent so far.
export async function settle(page, timeout = 10000) {
  await page.waitForFunction(() => window.studio.lastSeq >= window.studio.sentSeq(), { timeout, polling: 20 });
  await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => resolve(true))));
}

// The page position of an artwork point (h right, v up), from the view the host reported.
export async function pagePoint(page, h, v) {
  return page.evaluate(
    ([h, v]) => {
      const s = window.studio.view();
      const r = document.getElementById("sq-view").getBoundingClientRect();
      return { x: r.left + (h - s.left) * s.zoom, y: r.top + (s.top - v) * s.zoom };
    },
    [h, v],
  );
}
