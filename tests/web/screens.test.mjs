// The page on every kind of screen: the window scaled to the screen, or the
// one column on narrow ones; text as seen, sideways scrolling, touch
// targets, the equation's contrast in either scheme, a long table scrolled
// by wheel, swipe and keys, and the accessibility audit after each action.
import { test, before, after } from "node:test";
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { createRequire } from "node:module";
import { launch, openPage } from "./browser.mjs";
import { misplacements, seenBoxes } from "./window_places.mjs";
import { kFields, kFocusOrder } from "./window_lists.mjs";

const axeSource = readFileSync(createRequire(import.meta.url).resolve("axe-core/axe.min.js"), "utf8");
const kAxeTags = ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa", "wcag22aa", "best-practice"];

const phone = (width, height, deviceScaleFactor) =>
  ({ viewport: { width, height }, deviceScaleFactor, isMobile: true, hasTouch: true });
const kScreens = [
  { name: "desktop 1280×800", options: { viewport: { width: 1280, height: 800 } }, layout: "window" },
  { name: "desktop 1280×800, dark", layout: "window",
    options: { viewport: { width: 1280, height: 800 }, colorScheme: "dark" } },
  { name: "tablet 768×1024", options: { ...phone(768, 1024, 2) }, layout: "window" },
  { name: "phone 360×740", options: phone(360, 740, 3), layout: "column" },
  { name: "phone 360×740, dark", options: { ...phone(360, 740, 3), colorScheme: "dark" },
    layout: "column" },
  { name: "phone 320×568", options: phone(320, 568, 2), layout: "column" },
  { name: "phone in landscape 740×360", options: phone(740, 360, 3), layout: "window" },
];

// The column from top to bottom, each row left to right: a label beside the
// field it names, the units beside the inductance.
const kColumnRows = [["Label1", "Ind", "IndUnits"], ["Label2", "FormDia"], ["Label3", "WireDia"],
  ["Label4"], ["GO"], ["Line1"], ["Label5"], ["Label6", "Turns"], ["Label7", "Length"],
  ["CalcInd"], ["IndRes"], ["Results"]];

let browser;
before(async () => {
  browser = await launch();
});
after(async () => {
  await browser?.close();
});

// ---- measures, in the page ----

// Font sizes as seen: the computed size times the window's scale.
function seenFontSizes() {
  const frame = document.getElementById("Tolvex");
  const scale = frame.getBoundingClientRect().width / frame.offsetWidth;
  const sizes = {};
  for (const e of frame.querySelectorAll(".label, button[id], input, textarea"))
    sizes[e.id] = parseFloat(getComputedStyle(e).fontSize) * scale;
  return sizes;
}

function targetSizes() {
  const sizes = {};
  const targets = document.querySelectorAll("#Tolvex input, #Tolvex button, #Tolvex textarea");
  for (const e of targets) {
    const r = e.getBoundingClientRect();
    sizes[e.id || e.className] = [r.width, r.height];
  }
  return sizes;
}

// The equation's text colour and the colour of what it stands on.
function equationColours() {
  const label = document.getElementById("Label4");
  let back = label;
  while (back && getComputedStyle(back).backgroundColor.match(/rgba\(.*, 0\)$/))
    back = back.parentElement;
  return [getComputedStyle(label).color,
    back ? getComputedStyle(back).backgroundColor : "rgb(255, 255, 255)"];
}

// ---- colours ----

function channels(css) {
  const numbers = css.match(/[\d.]+/g).map(Number);
  assert.ok(numbers.length === 3 || numbers[3] === 1, `opaque colour: ${css}`);
  return numbers.slice(0, 3);
}

function luminance(css) {
  const linear = channels(css).map((c) => {
    const s = c / 255;
    return s <= 0.04045 ? s / 12.92 : ((s + 0.055) / 1.055) ** 2.4;
  });
  return 0.2126 * linear[0] + 0.7152 * linear[1] + 0.0722 * linear[2];
}

function contrast(a, b) {
  const [high, low] = [luminance(a), luminance(b)].sort((x, y) => y - x);
  return (high + 0.05) / (low + 0.05);
}

// ---- checks ----

async function audit(page, when) {
  // Evaluated, not added as a script element: the page's policy refuses any
  // script but its own.
  await page.evaluate(axeSource);
  const violations = await page.evaluate(async (tags) => {
    const result = await window.axe.run(document, { runOnly: { type: "tag", values: tags } });
    return result.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(" ")).join(", ")}`);
  }, kAxeTags);
  assert.deepEqual(violations, [], `axe ${when}`);
}

async function checkWindowLayout(page, screen) {
  const { scale, out } = misplacements(await seenBoxes(page));
  assert.deepEqual(out, [], screen.name);
  const sizes = Object.values(await page.evaluate(seenFontSizes));
  const [width, height] = [screen.options.viewport.width, screen.options.viewport.height];
  const frame = (await seenBoxes(page)).frame;
  // It uses the screen: it fills the height or the width, or, on a screen too
  // low for it at a readable size, shows its text at the smallest readable size.
  const fills = frame[3] >= height - 20 || frame[2] >= width - 20;
  assert.ok(fills || Math.min(...sizes) < 12.5, `${frame} on ${width}×${height}`);
  assert.ok(Math.min(...sizes) >= 12 - 0.01, `smallest text as seen ${Math.min(...sizes)}`);
  assert.ok(scale <= 3 + 1e-9, `scale ${scale}`);
}

async function checkColumnLayout(page) {
  const seen = await seenBoxes(page);
  const [left, top, width, height] = [0, 1, 2, 3];
  const box = (id) => seen.controls[id];
  const right = (id) => box(id)[left] + box(id)[width];
  const bottom = (id) => box(id)[top] + box(id)[height];
  const frameRight = seen.frame[left] + seen.frame[width];
  kColumnRows.forEach((row, i) => {
    const rowTop = Math.min(...row.map((id) => box(id)[top]));
    const rowBottom = Math.max(...row.map(bottom));
    if (i > 0) {
      const above = Math.max(...kColumnRows[i - 1].map(bottom));
      assert.ok(rowTop >= above - 0.5, `${row} below ${kColumnRows[i - 1]}: ${rowTop} < ${above}`);
    }
    for (const id of row) {
      const middle = box(id)[top] + box(id)[height] / 2;
      assert.ok(middle > rowTop && middle < rowBottom, `${id} on the row of ${row}`);
    }
    row.slice(1).forEach((id, j) =>
      assert.ok(box(id)[left] >= right(row[j]) - 0.5, `${id} right of ${row[j]}`));
    // Every row reaches across to the right edge; a lone control spans the width.
    const last = row[row.length - 1];
    assert.ok(Math.abs(right(last) - frameRight) < 1, `${last} ends at the right edge`);
    if (row.length === 1)
      assert.ok(Math.abs(box(last)[width] - seen.frame[width]) < 1, `${last} across the width`);
  });
  // Results takes what height is left: it ends where the page ends.
  const [resultsEnd, pageEnd] = await page.evaluate(() => {
    const r = document.getElementById("Results").getBoundingClientRect();
    const root = document.documentElement;
    return [r.bottom + window.scrollY, Math.max(root.clientHeight, root.scrollHeight)];
  });
  assert.ok(resultsEnd >= pageEnd - 8 - 1, `Results ends at ${resultsEnd} of ${pageEnd}`);
  const sizes = await page.evaluate(seenFontSizes);
  for (const [id, size] of Object.entries(sizes))
    assert.ok(size >= (/^Label/.test(id) || box(id) === undefined ? 12 : 16), `${id}: ${size} px`);
  const inputs = ["FormDia", "WireDia", "Ind", "IndUnits", "Turns", "Length", "IndRes", "Results"];
  for (const id of inputs) assert.ok(sizes[id] >= 16, `${id}: ${sizes[id]} px`);
}

async function checkScheme(page, screen) {
  const dark = screen.options.colorScheme === "dark";
  const face = await page.evaluate(() => {
    const frame = document.getElementById("Tolvex");
    return [getComputedStyle(frame).backgroundColor, getComputedStyle(document.documentElement)
      .backgroundColor];
  });
  for (const colour of face)
    assert.ok(dark ? luminance(colour) < 0.2 : luminance(colour) > 0.6, `${colour}, dark ${dark}`);
  const [text, back] = await page.evaluate(equationColours);
  assert.equal(text, "rgb(0, 128, 0)");
  assert.ok(contrast(text, back) >= 4.5, `${text} on ${back}: ${contrast(text, back)}`);
}

// The 100 uH table of the start-up diameters, longer than the box, seen to
// its last row by the wheel, a swipe and Ctrl+End, with no scroll bar.
async function checkTableScrolls(page, screen) {
  await page.fill("#Ind", "100");
  await page.click("#GO");
  const results = page.locator("#Results");
  assert.equal((await results.inputValue()).split("\n").length, 24);
  const facts = await results.evaluate((e) => {
    const style = getComputedStyle(e);
    return { bar: e.offsetWidth - e.clientWidth - parseFloat(style.borderLeftWidth) -
      parseFloat(style.borderRightWidth), longer: e.scrollHeight > e.clientHeight + 10 };
  });
  assert.deepEqual(facts, { bar: 0, longer: true });
  const atEnd = () => results.evaluate((e) => e.scrollTop + e.clientHeight >= e.scrollHeight - 1);
  const top = () => results.evaluate((e) => {
    e.scrollTop = 0;
  });

  await results.scrollIntoViewIfNeeded();
  const r = await results.boundingBox();
  const [x, y] = [r.x + r.width / 2, r.y + Math.min(r.height / 2, 100)];
  await top();
  await page.mouse.move(x, y);
  for (let i = 0; i < 20 && !(await atEnd()); i++) {
    await page.mouse.wheel(0, 400);
    await page.waitForTimeout(50);
  }
  assert.ok(await atEnd(), `${screen.name}: the wheel reaches the last row`);

  if (screen.options.hasTouch) {
    await top();
    const cdp = await page.context().newCDPSession(page);
    const visible = Math.min(r.height, screen.options.viewport.height - r.y);
    const [from, to] = [r.y + visible - 10, r.y + 10];
    const touch = (type, y) =>
      cdp.send("Input.dispatchTouchEvent", { type, touchPoints: y === null ? [] : [{ x, y }] });
    for (let i = 0; i < 20 && !(await atEnd()); i++) {
      await touch("touchStart", from);
      for (let step = 1; step <= 8; step++) await touch("touchMove", from + ((to - from) * step) / 8);
      await touch("touchEnd", null);
      await page.waitForTimeout(50);
    }
    assert.ok(await atEnd(), `${screen.name}: swipes reach the last row`);
    await cdp.detach();
  }

  await top();
  await results.focus();
  await page.keyboard.press("Control+End");
  assert.ok(await atEnd(), `${screen.name}: Ctrl+End reaches the last row`);
  // The page itself did not move sideways.
  assert.equal(await page.evaluate(() => window.scrollX), 0);
}

async function openFailureDialog(page) {
  await page.fill("#Turns", "10");
  for (const id of ["FormDia", "WireDia", "Length"]) await page.fill("#" + id, "");
  await page.click("#CalcInd");
  assert.equal(await page.$eval("#FailureDialog", (d) => d.open), true);
}

for (const screen of kScreens) {
  test(`on a ${screen.name}`, async (t) => {
    const { page, context, messages } = await openPage(browser, undefined, screen.options);
    try {
      await t.test("the layout", async () => {
        const layout = await page.$eval("#Tolvex", (e) => e.className);
        assert.equal(layout, screen.layout);
        if (layout === "window") await checkWindowLayout(page, screen);
        else await checkColumnLayout(page);
      });
      await t.test("no sideways scrolling; every target at least 24×24 px", async () => {
        const [scrollWidth, clientWidth] = await page.evaluate(() =>
          [document.documentElement.scrollWidth, document.documentElement.clientWidth]);
        assert.ok(scrollWidth <= clientWidth, `${scrollWidth} > ${clientWidth}`);
        const small = Object.entries(await page.evaluate(targetSizes))
          .filter(([, [w, h]]) => w < 24 || h < 24);
        assert.deepEqual(small, []);
      });
      await t.test("the colour scheme and the equation's contrast", () => checkScheme(page, screen));
      await t.test("axe at start-up", () => audit(page, "at start-up"));
      await t.test("a 24-line table scrolls by wheel, swipe and keys", () =>
        checkTableScrolls(page, screen));
      await t.test("axe after Generate Values", () => audit(page, "after Generate Values"));
      await t.test("axe after Calculate Inductance", async () => {
        await page.fill("#Turns", "10");
        await page.fill("#Length", "10");
        await page.click("#CalcInd");
        assert.equal(await page.inputValue("#IndRes"), "2.14uH");
        await audit(page, "after Calculate Inductance");
      });
      await t.test("axe with the failure dialog open", async () => {
        await openFailureDialog(page);
        await audit(page, "with the failure dialog open");
        await page.click("#FailureOK");
      });
      await t.test("not one console message at start-up, after each action or with the dialog open",
        () => assert.deepEqual(messages, []));
    } finally {
      await context.close();
    }
  });
}

// What each box holds, what has the focus, and the elements themselves.
function snapshotFields(ids) {
  return {
    texts: ids.map((id) => document.getElementById(id).value),
    focus: document.activeElement.id,
    same: ids.every((id) => document.getElementById(id).tolvexMark === id),
    layout: document.getElementById("Tolvex").className,
  };
}

test("turning and resizing switch layouts without losing a character", async () => {
  const { page, context, messages } = await openPage(browser, undefined, phone(360, 740, 3));
  try {
    const typed = kFields.map((id, i) => `${id} ${"&H1F.5e-3 ".repeat(i + 1)}é${i}`);
    for (const [i, id] of kFields.entries()) {
      await page.focus("#" + id);
      await page.keyboard.press("Control+A");
      await page.keyboard.type(typed[i]);
    }
    await page.$$eval("[id]", (elements) => elements.forEach((e) => {
      e.tolvexMark = e.id;
    }));
    const ariaColumn = await page.locator("#Tolvex").ariaSnapshot();
    const sizes = [[740, 360, "window"], [320, 568, "column"], [1280, 800, "window"],
      [768, 1024, "window"], [360, 740, "column"]];
    for (const [width, height, layout] of sizes) {
      await page.setViewportSize({ width, height });
      await page.waitForFunction((l) => document.getElementById("Tolvex").className === l, layout);
      const seen = await page.evaluate(snapshotFields, kFields);
      assert.deepEqual(seen, { texts: typed, focus: "IndRes", same: true, layout }, `${width}×${height}`);
      if (layout === "window") assert.deepEqual(misplacements(await seenBoxes(page)).out, []);
      // The same roles, names and texts in either layout.
      assert.equal(await page.locator("#Tolvex").ariaSnapshot(), ariaColumn, `${width}×${height}`);
    }
    assert.deepEqual(messages, [], "console messages");
  } finally {
    await context.close();
  }
});

test("in the column: the window's tab order, Enter and the unit list", async () => {
  const { page, context, messages } = await openPage(browser, undefined, phone(320, 568, 2));
  try {
    const seen = [await page.evaluate(() => document.activeElement.id)];
    for (let i = 1; i < kFocusOrder.length; i++) {
      await page.keyboard.press("Tab");
      seen.push(await page.evaluate(() => document.activeElement.id));
    }
    assert.deepEqual(seen, kFocusOrder);
    await page.fill("#Turns", "10");
    await page.fill("#Length", "10");
    await page.tap(".unit-toggle");
    await page.tap("#IndUnitsOption0");
    assert.equal(await page.inputValue("#IndUnits"), "nH");
    await page.focus("#Length");
    await page.keyboard.press("Enter");
    assert.equal(await page.inputValue("#IndRes"), "2140.86nH");
    assert.deepEqual(messages, [], "console messages");
  } finally {
    await context.close();
  }
});
