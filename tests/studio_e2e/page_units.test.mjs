// The page's pure parts without a browser: how typed numbers, labels, item kinds and colours are
// read, and how pointer and wheel requests are coalesced.

import assert from "node:assert/strict";
import test from "node:test";
import { cssColor, shownLabel } from "../../studio/draw.js";
import { itemKind, typedNumber } from "../../studio/items.js";
import { Coalescer } from "../../studio/input.js";

test("a typed number is sent as a value only when it is a plain number in the field's units", () => {
  assert.equal(typedNumber("160", "150 pt"), 160);
  assert.equal(typedNumber(" 160 pt ", "150 pt"), 160);
  assert.equal(typedNumber("-1.5e2", "0 pt"), -150);
  assert.equal(typedNumber(".5", "100"), 0.5);
  assert.equal(typedNumber("45°", "180°"), 45);
  // Other units, arithmetic and words go to the host as text, which reads them in the field's units.
  for (const text of ["2 in", "12px", "1+2", "abc", "", "  ", "1e999", "0x10", "5 pt pt"]) {
    assert.equal(typedNumber(text, "150 pt"), null, text);
  }
});

test("labels arrive as shown and keep their ampersands; item kinds read the host's long names", () => {
  assert.equal(shownLabel("Copy & Paste"), "Copy & Paste");
  assert.equal(shownLabel(undefined), "");
  assert.equal(itemKind("ADM Text Edit Type"), "textEdit");
  assert.equal(itemKind("ADM Picture Push Button Type"), "picturePushButton");
  assert.equal(itemKind("ADM Text Check Box Type"), "checkBox");
  assert.equal(itemKind("ADM Popup Menu Type"), "popupMenu");
  assert.equal(itemKind("spinEdit"), "spinEdit");
  assert.equal(itemKind(null), "frame");
});

test("colours with alpha are read, anything else draws black", () => {
  assert.equal(cssColor("#FF000080"), `rgba(255, 0, 0, ${0x80 / 255})`);
  assert.equal(cssColor("#00ff00"), "rgba(0, 255, 0, 1)");
  for (const bad of ["red", "#12345", "#1234567890", null, 7]) assert.equal(cssColor(bad), "#000000");
});

test("moves wait behind the one in flight, and only the newest goes when its reply comes", () => {
  const sent = [];
  let seq = 0;
  const c = new Coalescer((request) => {
    sent.push(request);
    return ++seq;
  });
  c.offer({ x: 1 });
  c.offer({ x: 2 });
  c.offer({ x: 3 });
  assert.deepEqual(sent, [{ x: 1 }]);
  c.replied(0); // an older reply releases nothing
  assert.equal(sent.length, 1);
  c.replied(1);
  assert.deepEqual(sent, [{ x: 1 }, { x: 3 }]);
  c.replied(2);
  c.offer({ x: 4 });
  assert.deepEqual(sent.at(-1), { x: 4 }, "with nothing in flight a move goes at once");
  // A press flushes what waits first, so the host sees the moves in order.
  c.offer({ x: 5 });
  c.flush();
  assert.deepEqual(sent.at(-1), { x: 5 });
  c.reset();
  c.offer({ x: 6 });
  assert.deepEqual(sent.at(-1), { x: 6 }, "after a reconnection nothing is taken as in flight");
  c.reset();
});

test("waiting scrolls add up; a request that cannot merge keeps its place", () => {
  const sent = [];
  let seq = 0;
  const c = new Coalescer((request) => {
    sent.push(request);
    return ++seq;
  });
  const sum = (a, b) => (a.request.scroll && b.request.scroll ? { request: { scroll: [a.request.scroll[0] + b.request.scroll[0], a.request.scroll[1] + b.request.scroll[1]] } } : null);
  c.offer({ scroll: [0, 10] }, null, sum);
  c.offer({ scroll: [0, 5] }, null, sum);
  c.offer({ scroll: [2, 5] }, null, sum);
  c.replied(1);
  assert.deepEqual(sent, [{ scroll: [0, 10] }, { scroll: [2, 10] }]);
  c.offer({ scroll: [0, 1] }, null, sum);
  c.offer({ zoom: 2 }, null, sum);
  assert.deepEqual(sent.at(-1), { scroll: [0, 1] }, "the scroll before a zoom is not lost");
  c.replied(3);
  assert.deepEqual(sent.at(-1), { zoom: 2 });
  c.reset();
});
