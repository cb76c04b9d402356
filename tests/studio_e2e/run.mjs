// The studio end to end: a real `sqhost studio` on a copy of the example folder, its page in
// headless Chromium, user input through the DevTools protocol, and a screenshot of every step.
//   node run.mjs --sqhost PATH --out DIR

import fs from "node:fs";
import path from "node:path";
import { fileURLToPath } from "node:url";

const here = path.dirname(fileURLToPath(import.meta.url));
// Without a browser or the test's packages the cases cannot run: say so, with CTest's skip code.
const chromium = process.env.SQ_CHROMIUM ?? "/usr/bin/chromium";
const missing = [
  [chromium, "Chromium (scripts/install-deps installs it)"],
  [path.join(here, "node_modules", "puppeteer-core"), "puppeteer-core (npm ci in tests/studio_e2e)"],
].filter(([p]) => !fs.existsSync(p));
if (missing.length > 0) {
  console.log(`skipped: missing ${missing.map(([p, what]) => `${what} at ${p}`).join("; ")}`);
  process.exit(77);
}
const { launchBrowser, openPage, parseArgs, startStudio, stopStudio, tempDir } = await import("./lib.mjs");
const { cases } = await import("./cases.mjs");

const examples = path.resolve(here, "../../tools/sqhost/examples");

const args = parseArgs(process.argv.slice(2), ["sqhost", "out", "only"]);
if (!args.sqhost || !args.out) {
  console.error("usage: node run.mjs --sqhost PATH --out DIR [--only NAME]");
  process.exit(2);
}
fs.mkdirSync(args.out, { recursive: true });

// The folder the studio serves: the bundled drawing, one in a sub-folder, and a file that is
// not a drawing.
function makeFolder() {
  const root = tempDir("sq-studio-root-");
  fs.copyFileSync(path.join(examples, "drawing.svg"), path.join(root, "drawing.svg"));
  fs.mkdirSync(path.join(root, "sub"));
  fs.copyFileSync(path.join(examples, "drawing.svg"), path.join(root, "sub", "copy.svg"));
  fs.writeFileSync(path.join(root, "notes.txt"), "not a drawing\n");
  const prefsDir = tempDir("sq-studio-prefs-");
  const prefs = path.join(prefsDir, "preferences.json");
  // Adding points is switched on, as in the hover example.
  fs.copyFileSync(path.join(examples, "hover-preferences.json"), prefs);
  return { root, prefs, cleanup: () => [root, prefsDir].forEach((d) => fs.rmSync(d, { recursive: true, force: true })) };
}

let passed = 0;
let failed = 0;
const browser = await launchBrowser();
try {
  for (const c of cases) {
    if (args.only && c.name !== args.only) continue;
    const folder = makeFolder();
    let studio = null;
    let step = 0;
    try {
      studio = await startStudio(args.sqhost, folder.root, folder.prefs, [path.join(folder.root, "drawing.svg")]);
      const session = await openPage(browser, studio.url);
      const t = {
        ...session,
        studio,
        root: folder.root,
        examples,
        // A screenshot named after the case and its step.
        shot: async (label) => {
          step += 1;
          const file = path.join(args.out, `${c.name}-${String(step).padStart(2, "0")}-${label}.png`);
          await session.page.screenshot({ path: file });
        },
      };
      await c.run(t);
      if (session.problems.length > 0) throw new Error(`the page reported problems:\n  ${session.problems.join("\n  ")}`);
      await session.page.close();
      passed += 1;
      console.log(`ok      ${c.name}`);
    } catch (error) {
      failed += 1;
      console.log(`FAILED  ${c.name}: ${error.stack ?? error}`);
      if (studio) console.log(`        host output:\n${studio.log.replace(/^/gm, "          ")}`);
    } finally {
      await stopStudio(studio);
      folder.cleanup();
    }
  }
} finally {
  await browser.close();
}
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 && passed > 0 ? 0 : 1);
