// The page in a real browser, through its DOM only: layout, start-up, keys,
// failures, hostile input, and that it keeps to itself.
import { test, before, after } from "node:test";
import assert from "node:assert/strict";
import { kDesktop, launch, openPage, pagePath, pageUrl } from "./browser.mjs";
import { misplacements, seenBoxes } from "./window_places.mjs";
import { kFocusOrder } from "./window_lists.mjs";
import { mkdtempSync, readFileSync, writeFileSync } from "node:fs";
import os from "node:os";
import path from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";

// The table the start-up texts give (1 uH, former 20 mm, wire 0.5 mm), as the
// native tests read it too.
const kOneMicrohenryTable = readFileSync(
  path.join(path.dirname(fileURLToPath(import.meta.url)), "..", "data", "one_microhenry_table.txt"),
  "utf8");

let browser;
before(async () => {
  browser = await launch();
});
after(async () => {
  await browser?.close();
});

async function withPage(use, url) {
  const opened = await openPage(browser, url);
  try {
    await use(opened.page, opened.requests);
    assert.deepEqual(opened.messages, [], "console messages");
  } finally {
    await opened.context.close();
  }
}

const value = (page, id) => page.$eval("#" + id, (e) => e.value);
const dialogOpen = (page) => page.$eval("#FailureDialog", (d) => d.open);

test("start-up texts, uH selected, focus on FormDia, the caption as title", () =>
  withPage(async (page) => {
    // document.title collapses runs of spaces; the title element keeps them.
    assert.equal(await page.$eval("title", (t) => t.textContent), "Coil Design   Orvik");
    assert.deepEqual(await page.$$eval("h1", (h) => h.map((e) => e.textContent)),
      ["Coil Design   Orvik"]);
    const texts = {};
    for (const id of ["FormDia", "WireDia", "Ind", "IndUnits", "Turns", "Length", "IndRes",
      "Results"]) texts[id] = await value(page, id);
    assert.deepEqual(texts, { FormDia: "20", WireDia: "0.5", Ind: "1", IndUnits: "uH", Turns: "",
      Length: "", IndRes: "", Results: "" });
    assert.equal(await page.evaluate(() => document.activeElement.id), "FormDia");
    assert.equal(await page.getAttribute("#IndUnitsOption1", "aria-selected"), "true");
  }));

test("every control sits at its twips / 15 × the window's scale, within a device pixel", () =>
  withPage(async (page) => {
    const { scale, out } = misplacements(await seenBoxes(page));
    assert.deepEqual(out, []);
    // The desktop shows the window larger than its 96-dpi size.
    assert.ok(scale > 1.5, `scale ${scale}`);
  }));

test("labels name their fields, captions fit their boxes, the equation is dark green", () =>
  withPage(async (page) => {
    const facts = await page.evaluate(() => {
      const fits = (e) => e.scrollHeight <= e.clientHeight && e.scrollWidth <= e.clientWidth;
      return {
        names: ["FormDia", "WireDia", "Ind", "Turns", "Length"].map(
          (id) => document.getElementById(id).labels[0]?.id ?? null),
        fit: [...document.querySelectorAll("#Tolvex .label, #Tolvex button[id]")]
          .filter((e) => !fits(e)).map((e) => e.id),
        green: getComputedStyle(document.getElementById("Label4")).color,
      };
    });
    assert.deepEqual(facts.names, ["Label2", "Label3", "Label1", "Label6", "Label7"]);
    assert.deepEqual(facts.fit, []);
    assert.equal(facts.green, "rgb(0, 128, 0)");
  }));

test("Tab walks the controls in the window's tab order", () =>
  withPage(async (page) => {
    const seen = [await page.evaluate(() => document.activeElement.id)];
    for (let i = 1; i < kFocusOrder.length; i++) {
      await page.keyboard.press("Tab");
      seen.push(await page.evaluate(() => document.activeElement.id));
    }
    assert.deepEqual(seen, kFocusOrder);
  }));

test("Generate Values on the start-up texts writes the 1 uH table", () =>
  withPage(async (page) => {
    await page.click("#GO");
    assert.equal(await value(page, "Results"), kOneMicrohenryTable);
    assert.equal(await dialogOpen(page), false);
  }));

test("Enter: in a field it presses Calculate Inductance, on a button that button", () =>
  withPage(async (page) => {
    await page.fill("#Turns", "10");
    await page.fill("#Length", "10");
    for (const [field, key] of [["Turns", "Enter"], ["IndUnits", "Enter"], ["Ind", "NumpadEnter"]]) {
      await page.fill("#IndRes", "");
      await page.focus("#" + field);
      await page.keyboard.press(key);
      assert.equal(await value(page, "IndRes"), "2.14uH", `${key} in ${field}`);
    }
    assert.equal(await value(page, "Results"), "");
    await page.focus("#GO");
    await page.keyboard.press("Enter");
    assert.equal(await value(page, "Results"), kOneMicrohenryTable);
    await page.fill("#IndRes", "");
    await page.fill("#Results", "");
    await page.focus("#CalcInd");
    await page.keyboard.press("NumpadEnter");
    assert.equal(await value(page, "IndRes"), "2.14uH");
    assert.equal(await value(page, "Results"), "");
  }));

test("a text typed into any box reaches its field; a result box shows its result again", () =>
  withPage(async (page) => {
    // box, text typed, button, the first line of the box it writes
    const rows = [["Ind", "10", "GO", "Min  22 turns close wound,   length  11"],
      ["Ind", "1", "GO", "Min  5 turns close wound,   length  2.5"],
      ["Results", "typed", "GO", "Min  5 turns close wound,   length  2.5"],
      ["Turns", "10", "CalcInd", "4.46uH"], ["Length", "10", "CalcInd", "2.14uH"],
      ["IndRes", "typed", "CalcInd", "2.14uH"], ["FormDia", "9.5", "CalcInd", ".68uH"],
      ["WireDia", "10.5", "CalcInd", "2.06uH"], ["IndUnits", "nH", "CalcInd", "2061.86nH"]];
    for (const [box, typed, button, expected] of rows) {
      await page.fill("#" + box, typed);
      await page.click("#" + button);
      const written = await value(page, button === "GO" ? "Results" : "IndRes");
      assert.equal(written.split("\n")[0], expected, `${typed} in ${box}`);
    }
  }));

test("the unit box: a typed text is used as typed, the list selects an item", () =>
  withPage(async (page) => {
    await page.fill("#Turns", "10");
    await page.fill("#Length", "10");
    const rows = [["pH", "2140855.83pH", null], ["nH", "2140.86nH", "0"], ["mh", "2140855.83mh", null],
      ["mH", ".mH", "2"]];
    for (const [typed, expected, option] of rows) {
      await page.fill("#IndUnits", typed);
      const selected = await page.$$eval("#IndUnitsOptions li",
        (items) => items.findIndex((li) => li.getAttribute("aria-selected") === "true"));
      assert.equal(selected, option === null ? -1 : Number(option), typed);
      await page.click("#CalcInd");
      assert.equal(await value(page, "IndRes"), expected, typed);
    }
    await page.focus("#IndUnits");
    await page.keyboard.press("ArrowDown");
    await page.keyboard.press("ArrowUp");
    await page.keyboard.press("Enter"); // takes the highlighted item
    assert.equal(await value(page, "IndUnits"), "uH");
    await page.keyboard.press("Enter"); // list closed: presses Calculate Inductance
    assert.equal(await value(page, "IndRes"), "2.14uH");
  }));

test("a failure shows a modal dialog with OK; what was written stays", () =>
  withPage(async (page) => {
    await page.fill("#IndRes", "before");
    await page.fill("#Turns", "10");
    for (const id of ["FormDia", "WireDia", "Length"]) await page.fill("#" + id, "");
    await page.click("#CalcInd");
    assert.equal(await dialogOpen(page), true);
    assert.equal(await page.textContent("#FailureText"),
      "Calculate Inductance stopped with an overflow: 0 was divided by 0, which has no value.");
    assert.equal(await page.textContent("#FailureTitle"), "Coil Design   Orvik");
    assert.equal(await value(page, "IndRes"), "before");
    await page.click("#FailureOK");
    assert.equal(await dialogOpen(page), false);
    // Still usable: a sweep that fails part-way keeps its header and rows.
    await page.fill("#FormDia", "20");
    await page.fill("#WireDia", "0.5");
    await page.fill("#Ind", "20");
    await page.fill("#IndUnits", "mH");
    await page.click("#GO");
    assert.equal(await dialogOpen(page), true);
    assert.equal(await page.textContent("#FailureText"), "Generate Values stopped with an " +
      "overflow: a turn count is outside the whole numbers -32768 to 32767.");
    const lines = (await value(page, "Results")).split("\n");
    assert.equal(lines.filter((l) => l.includes("Turns")).length, 9);
    await page.keyboard.press("Escape");
    assert.equal(await dialogOpen(page), false);
  }));

test("hostile texts: CR, long radix numbers, 1e400, megabyte pastes", () =>
  withPage(async (page) => {
    await page.fill("#Turns", "1\r0");
    await page.fill("#Length", "&H000A");
    await page.click("#CalcInd");
    assert.equal(await value(page, "IndRes"), "2.14uH");
    await page.fill("#Length", "&HFFFFFFFFFFFFFFFFF");
    await page.click("#CalcInd");
    assert.equal(await dialogOpen(page), true);
    await page.click("#FailureOK");
    await page.fill("#Length", "1e400");
    await page.click("#CalcInd");
    assert.equal(await dialogOpen(page), true);
    await page.click("#FailureOK");
    assert.equal(await value(page, "IndRes"), "2.14uH");

    const megabyte = "x".repeat(1 << 20);
    await page.fill("#Ind", "1000000");
    await page.fill("#IndUnits", megabyte);
    await page.click("#GO");
    const results = await value(page, "Results");
    const rows = results.split("\n").filter((l) => l.includes("Turns"));
    assert.equal(rows.length, 11);
    assert.ok(rows.every((row) => row.includes(megabyte + "       Wire ")));
    await page.focus("#Results");
    await page.keyboard.press("End");
    await page.keyboard.type("y");
    assert.equal((await value(page, "Results")).length, results.length + 1);
  }));

test("no request leaves the page; the URL's query and fragment change nothing", () =>
  withPage(async (page, requests) => {
    await page.click("#GO");
    await page.fill("#Turns", "10");
    await page.click("#CalcInd");
    assert.equal(await value(page, "Ind"), "1");
    assert.equal(await value(page, "Results"), kOneMicrohenryTable);
    const stored = await page.evaluate(() => [localStorage.length, sessionStorage.length,
      document.cookie]);
    assert.deepEqual(stored, [0, 0, ""]);
    assert.deepEqual(requests.map((u) => u.replace(/[?#].*$/, "")), [pageUrl]);
  }, pageUrl + "?Ind=5&FormDia=9#IndUnits=mH"));

test("while the module compiles: the window as it will look, taking typing", async () => {
  const held = await openPage(browser, pageUrl, kDesktop, true);
  const ready = await openPage(browser);
  try {
    const state = (page) => page.evaluate(() => ({
      texts: [...document.querySelectorAll("#Tolvex input, #Tolvex textarea")]
        .map((e) => [e.id, e.value]),
      selected: document.querySelector("[aria-selected='true']")?.id,
      focus: document.activeElement.id,
      ready: document.documentElement.dataset.ready ?? "no",
    }));
    const [before, after] = [await state(held.page), await state(ready.page)];
    assert.deepEqual(before, { ...after, ready: "no" });
    assert.deepEqual(after.texts.slice(0, 3), [["FormDia", "20"], ["WireDia", "0.5"], ["Ind", "1"]]);
    // Both have the focus in FormDia; the caret, blinking, is left out.
    const shot = (page) => page.screenshot({ caret: "hide" });
    assert.ok((await shot(held.page)).equals(await shot(ready.page)), "the same window");
    await held.page.click("#Ind");
    await held.page.keyboard.type("9");
    assert.equal(await value(held.page, "Ind"), "19");
    assert.deepEqual(held.messages, []);
  } finally {
    await held.context.close();
    await ready.context.close();
  }
});

test("before its script runs the page paints the window as the script leaves it", async () => {
  const file = path.join(mkdtempSync(path.join(os.tmpdir(), "tolvex-bare-")), "bare.html");
  writeFileSync(file, readFileSync(pagePath, "utf8").replace(/<script>[\s\S]*?<\/script>/, ""));
  const phone = { viewport: { width: 360, height: 740 }, deviceScaleFactor: 3, isMobile: true,
    hasTouch: true };
  for (const screen of [kDesktop, phone, { ...phone, viewport: { width: 740, height: 360 } }]) {
    const bare = await openPage(browser, pathToFileURL(file).href, screen, true);
    const ready = await openPage(browser, pageUrl, screen);
    try {
      const [before, after] = [await bare.page.screenshot(), await ready.page.screenshot()];
      assert.ok(before.equals(after), JSON.stringify(screen.viewport));
      assert.deepEqual(bare.messages, []);
    } finally {
      await bare.context.close();
      await ready.context.close();
    }
  }
});

test("clicks and Enter before the module is there are answered once it is, each once", async () => {
  const rows = [
    // texts typed, then clicks (#id) and Enter in a box (id), what shows once the module is there
    [{ Turns: "10", Length: "10" }, ["#GO", "Length"],
      { Results: kOneMicrohenryTable, IndRes: "2.14uH", failures: 0 }],
    [{ Turns: "10", FormDia: "", WireDia: "", Length: "" }, ["#CalcInd", "Turns", "#CalcInd"],
      { Results: "", IndRes: "", failures: 3 }],
  ];
  for (const [texts, presses, expected] of rows) {
    const held = await openPage(browser, pageUrl, kDesktop, true);
    const { page } = held;
    try {
      await page.evaluate(() => {
        const showModal = HTMLDialogElement.prototype.showModal;
        window.failures = 0;
        HTMLDialogElement.prototype.showModal = function count() {
          window.failures += 1;
          showModal.call(this);
        };
      });
      for (const [id, text] of Object.entries(texts)) await page.fill("#" + id, text);
      for (const press of presses) {
        if (press.startsWith("#")) await page.click(press);
        else await page.press("#" + press, "Enter");
      }
      const shown = () => page.evaluate(() => ({ Results: document.getElementById("Results").value,
        IndRes: document.getElementById("IndRes").value, failures: window.failures }));
      assert.deepEqual(await shown(), { Results: "", IndRes: "", failures: 0 }, "before");
      await page.evaluate(() => window.releaseModule());
      await page.waitForSelector("html[data-ready='true']");
      assert.deepEqual(await shown(), expected, presses.join(" "));
      assert.deepEqual(held.messages, []);
    } finally {
      await held.context.close();
    }
  }
});

test("the policy refuses a script or style changed after the build", async () => {
  const page = readFileSync(pagePath, "utf8");
  const folder = mkdtempSync(path.join(os.tmpdir(), "tolvex-changed-"));
  const rows = [
    // what changed, the element's start tag, whether the script still runs
    ["the script", "<script>", false],
    ["the style", "<style>", true],
  ];
  for (const [what, tag, starts] of rows) {
    assert.equal(page.split(tag).length, 2, `one ${tag}`);
    const file = path.join(folder, "changed.html");
    writeFileSync(file, page.replace(tag, tag + " "));
    const held = await openPage(browser, pathToFileURL(file).href, kDesktop, true);
    try {
      const seen = await held.page.evaluate(() => ({
        laidOut: document.getElementById("Tolvex").style.getPropertyValue("--scale") !== "",
        styled: getComputedStyle(document.getElementById("Tolvex")).position === "relative",
      }));
      assert.deepEqual(seen, { laidOut: starts, styled: !starts }, what);
      assert.equal(held.messages.length, 1, `${what}: ${held.messages}`);
      assert.match(held.messages[0], /Content Security Policy/, what);
    } finally {
      await held.context.close();
    }
  }
});
