// The page's pure parts under node, no browser: the layout a screen gets,
// the caption size search, the unit list's rules and the decoding of the
// module's bytes. (The column's places are the build's: window_markup_test.py.)
import { test } from "node:test";
import assert from "node:assert/strict";
import { firstFittingSize } from "../../web/page/font_fit.js";
import { decodeBase64 } from "../../web/page/module_bytes.js";
import { fitToScreen } from "../../web/page/screen_fit.js";
import { movedHighlight, shownItem, unitKeyAction } from "../../web/page/unit_rules.js";

test("the window scaled to the screen, or the column below a readable width", () => {
  const windowSize = { width: 421, height: 381 }; // CSS pixels, caption text 8.67 px
  const rows = [
    // screen less margins, layout, scale
    [{ width: 1264, height: 784 }, false, 784 / 381],
    [{ width: 752, height: 1008 }, false, 752 / 421],
    [{ width: 3000, height: 3000 }, false, 3],
    [{ width: 724, height: 344 }, false, 12 / 8.67], // too low: the readable size, scrolled
    [{ width: 344, height: 724 }, true, 1],
    [{ width: 582, height: 2000 }, true, 1], // just below 12 px
    [{ width: 583, height: 2000 }, false, 583 / 421], // just above
  ];
  for (const [room, column, scale] of rows) {
    const fitted = fitToScreen(room, windowSize, 8.67, { readablePixels: 12, largestScale: 3 });
    assert.equal(fitted.column, column, JSON.stringify(room));
    assert.ok(Math.abs(fitted.scale - scale) < 1e-12, `${JSON.stringify(room)}: ${fitted.scale}`);
  }
});

test("the caption size: the largest that fits, as trying each from the largest finds it", () => {
  const sizes = [10, 9.5, 9, 8.5, 8, 7.5, 7, 6.5, 6];
  // Captions fit from some size down, or at none.
  for (const largestFitting of [...sizes, 0]) {
    const tried = [];
    const fits = (points) => tried.push(points) && points <= largestFitting;
    const expected = sizes.find((points) => points <= largestFitting) ?? 6;
    assert.equal(firstFittingSize(sizes, fits), expected, `fits from ${largestFitting}`);
    assert.ok(tried.length <= 4, `${tried.length} layouts`);
  }
  assert.equal(firstFittingSize([8], () => false), 8);
});

test("the unit list's keys, highlight and selection", () => {
  const keys = [
    // key, Alt, list open, highlighted item, what it does
    ["ArrowDown", true, false, -1, "open"],
    ["ArrowDown", true, true, 2, "open"],
    ["ArrowDown", false, false, 1, "open"],
    ["ArrowDown", false, true, 1, "down"],
    ["ArrowUp", false, false, 1, "open"],
    ["ArrowUp", true, true, 1, "up"],
    ["Escape", false, true, 1, "close"],
    ["Escape", false, false, 1, null],
    ["Enter", false, true, 0, "choose"],
    ["Enter", false, true, -1, null], // nothing highlighted: the default button
    ["Enter", false, false, 1, null],
    ["a", false, true, 1, null],
  ];
  for (const [key, alt, open, highlighted, action] of keys)
    assert.equal(unitKeyAction(key, alt, open, highlighted), action, `${key} ${alt} ${open}`);
  const moves = [[-1, 1, 0], [-1, -1, 0], [0, -1, 0], [1, 1, 2], [2, 1, 2], [2, -1, 1]];
  for (const [from, step, to] of moves) assert.equal(movedHighlight(from, step, 3), to);
  assert.equal(shownItem(false, 1, 2), 1);
  assert.equal(shownItem(true, 1, 2), 2);
  assert.equal(shownItem(true, 1, -1), -1);
});

test("the module's bytes: natively where the browser can, by atob where it cannot", () => {
  const bytes = Uint8Array.from({ length: 770 }, (_, i) => (i * 7919) % 256);
  const text = Buffer.from(bytes).toString("base64");
  const native = [];
  assert.deepEqual(decodeBase64(text, undefined), bytes);
  assert.deepEqual(decodeBase64(text, (t) => native.push(t) && Buffer.from(t, "base64")),
    Buffer.from(bytes));
  assert.deepEqual(native, [text]);
});
