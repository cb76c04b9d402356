// Writes a large drawing for the studio's latency benchmark: the bundled drawing's paths (so the
// same gestures apply) and filler paths of cubic segments above them, N segments in all.
//   node make_drawing.mjs --out FILE [--segments 20000]

import fs from "node:fs";
import path from "node:path";
import { fileURLToPath } from "node:url";

const here = path.dirname(fileURLToPath(import.meta.url));

export function makeDrawing(segments = 20000) {
  const bundled = fs.readFileSync(path.join(here, "../tools/sqhost/examples/drawing.svg"), "utf8");
  const perPath = 100;
  const fillers = [];
  let left = segments - 7; // the bundled paths have 7 segments
  for (let p = 0; left > 0; p++) {
    const n = Math.min(perPath, left);
    left -= n;
    // A row of small waves along a line in the band above the bundled paths, 400 points wide.
    const y = 4 + (p % 50);
    const step = 400 / n;
    let d = `M 0 ${y}`;
    for (let i = 0; i < n; i++) {
      const x0 = i * step;
      const up = i % 2 === 0 ? -2 : 2;
      d += ` C ${(x0 + step / 3).toFixed(2)} ${y + up} ${(x0 + (2 * step) / 3).toFixed(2)} ${y + up} ${(x0 + step).toFixed(2)} ${y}`;
    }
    fillers.push(`    <path id="filler${p}" d="${d}" fill="none" stroke="#9a9a9a" stroke-width="0.3"/>`);
  }
  const layer = `  <g inkscape:groupmode="layer" inkscape:label="Filler">\n${fillers.join("\n")}\n  </g>\n`;
  return bundled.replace(/<\/svg>\s*$/, `${layer}</svg>\n`);
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const args = process.argv.slice(2);
  const out = args[args.indexOf("--out") + 1];
  const segments = args.includes("--segments") ? Number(args[args.indexOf("--segments") + 1]) : 20000;
  if (!args.includes("--out") || !out || !(segments >= 7)) {
    console.error("usage: node make_drawing.mjs --out FILE [--segments N (at least 7)]");
    process.exit(2);
  }
  fs.writeFileSync(out, makeDrawing(segments));
  console.log(`wrote ${out}: ${segments} segments`);
}
