// The studio's input-to-paint latency: real input through the DevTools protocol on the bundled
// drawing and on a 20,000-segment one, from the input event's time stamp to the animation frame
// after its update was drawn, with the update's size in bytes.
//   node bench/studio_latency.mjs --sqhost PATH [--moves 300] [--drags 200]

import fs from "node:fs";
import path from "node:path";
import { fileURLToPath } from "node:url";
import { makeDrawing } from "./make_drawing.mjs";

const here = path.dirname(fileURLToPath(import.meta.url));
const e2e = path.join(here, "../tests/studio_e2e");
const { launchBrowser, openPage, pagePoint, parseArgs, settle, startStudio, stopStudio, tempDir } = await import(
  path.join(e2e, "lib.mjs")
);

const args = parseArgs(process.argv.slice(2), ["sqhost", "moves", "drags"]);
if (!args.sqhost) {
  console.error("usage: node bench/studio_latency.mjs --sqhost PATH [--moves N] [--drags N]");
  process.exit(2);
}
const MOVES = Number(args.moves ?? 300);
const DRAGS = Number(args.drags ?? 200);
// Input at a hand's pace: one event per display frame.
const FRAME_MS = 16;

const pause = (ms) => new Promise((r) => setTimeout(r, ms));

function quantile(sorted, q) {
  if (sorted.length === 0) return NaN;
  const i = Math.min(sorted.length - 1, Math.max(0, Math.ceil(q * sorted.length) - 1));
  return sorted[i];
}

function summary(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return { n: sorted.length, p50: quantile(sorted, 0.5), p95: quantile(sorted, 0.95) };
}

async function measure(browser, file, label) {
  const root = tempDir("sq-bench-root-");
  const prefsDir = tempDir("sq-bench-prefs-");
  fs.writeFileSync(path.join(root, "drawing.svg"), file);
  const studio = await startStudio(args.sqhost, root, path.join(prefsDir, "preferences.json"), [path.join(root, "drawing.svg")]);
  try {
    const { page, frames } = await openPage(browser, studio.url, { width: 1280, height: 800 });
    await page.click('.sq-tool[aria-label*="Spindlequiver"]');
    await settle(page);
    await page.evaluate(() => window.studio.clearLatencyLog());

    // Cursor movements back and forth over the wave, across its middle point.
    for (let i = 0; i < MOVES; i++) {
      const t = (i % 60) / 59;
      const h = 60 + 180 * (i % 120 < 60 ? t : 1 - t);
      const p = await pagePoint(page, h, -200 + 6 * Math.sin(i / 5));
      await page.mouse.move(p.x, p.y);
      await pause(FRAME_MS);
    }
    await settle(page, 30000);

    // A handle dragged: the out handle of the wave's middle point, in small steps.
    const start = await pagePoint(page, 180, -280);
    await page.mouse.move(start.x, start.y);
    await settle(page);
    await page.mouse.down();
    for (let i = 0; i < DRAGS; i++) {
      const a = (i / DRAGS) * 2 * Math.PI;
      await page.mouse.move(start.x + 25 * Math.sin(a), start.y + 12 * (1 - Math.cos(a)));
      await pause(FRAME_MS);
    }
    await page.mouse.up();
    await settle(page, 30000);

    const log = await page.evaluate(() => window.studio.latencyLog());
    const bytesBySeq = new Map(frames.received.filter((f) => f.msg?.seq).map((f) => [f.msg.seq, f.bytes]));
    const rows = [];
    for (const kind of ["mouse move", "mouse drag"]) {
      const entries = log.filter((e) => e.kind === kind && e.paint !== undefined);
      const latency = summary(entries.map((e) => e.paint - e.input));
      const bytes = summary(entries.map((e) => bytesBySeq.get(e.seq) ?? 0));
      // Where the time goes: input to send, the host's round trip, and drawn to the frame.
      const toSend = summary(entries.map((e) => e.sent - e.input)).p50;
      const roundTrip = summary(entries.map((e) => e.applied - e.sent)).p50;
      const toFrame = summary(entries.map((e) => e.paint - e.applied)).p50;
      console.error(`${label} ${kind}: p50 input→send ${toSend?.toFixed(2)} ms, round trip ${roundTrip?.toFixed(2)} ms, drawn→frame ${toFrame?.toFixed(2)} ms`);
      const sent = log.filter((e) => e.kind === kind).length;
      rows.push({ drawing: label, input: kind === "mouse move" ? "cursor move" : "drag step", sent, latency, bytes });
    }
    await page.close();
    return rows;
  } finally {
    await stopStudio(studio);
    fs.rmSync(root, { recursive: true, force: true });
    fs.rmSync(prefsDir, { recursive: true, force: true });
  }
}

const browser = await launchBrowser();
const rows = [];
try {
  rows.push(...(await measure(browser, fs.readFileSync(path.join(here, "../tools/sqhost/examples/drawing.svg")), "bundled (7 segments)")));
  rows.push(...(await measure(browser, makeDrawing(20000), "20,000 segments")));
} finally {
  await browser.close();
}

const f = (v) => (Number.isFinite(v) ? v.toFixed(1) : "-");
const header = ["drawing", "input", "sent", "p50 ms", "p95 ms", "bytes p50", "bytes p95"];
const table = rows.map((r) => [r.drawing, r.input, String(r.sent), f(r.latency.p50), f(r.latency.p95), String(r.bytes.p50), String(r.bytes.p95)]);
const widths = header.map((h, i) => Math.max(h.length, ...table.map((row) => row[i].length)));
const line = (cells) => cells.map((c, i) => (i < 2 ? c.padEnd(widths[i]) : c.padStart(widths[i]))).join("  ");
console.log(`input-to-paint latency (input event time stamp to the animation frame after its update), ${MOVES} moves and ${DRAGS} drag steps at one per ${FRAME_MS} ms`);
console.log(line(header));
for (const row of table) console.log(line(row));
