// Every action vector of the conformance data, typed into the page's boxes
// and clicked through its buttons, against the independent model's texts.
import { test, before, after } from "node:test";
import assert from "node:assert/strict";
import fs from "node:fs";
import path from "node:path";
import { launch, openPage, root } from "./browser.mjs";

const vectors = fs
  .readFileSync(path.join(root, "tests", "data", "actions.jsonl"), "utf8")
  .split("\n")
  .filter((line) => line.trim() !== "")
  .map((line) => JSON.parse(line));

let browser;
before(async () => {
  browser = await launch();
});
after(async () => {
  await browser?.close();
});

// In the page: set the boxes as typing would, press a button, read what it
// shows, and close the failure dialog if one opened.
function runInPage(batch) {
  const set = (id, text) => {
    const box = document.getElementById(id);
    box.value = text;
    box.dispatchEvent(new Event("input", { bubbles: true }));
  };
  const press = (id) => {
    document.getElementById(id).click();
    const dialog = document.getElementById("FailureDialog");
    const failed = dialog.open;
    if (failed) dialog.close();
    return failed;
  };
  const previous = "text before the click";
  return batch.map((fields) => {
    for (const id of ["FormDia", "WireDia", "Ind", "Turns", "Length", "IndUnits"])
      set(id, fields[id === "IndUnits" ? "IndUnitsText" : id]);
    set("IndRes", previous);
    set("Results", previous);
    const calcFailed = press("CalcInd");
    const indRes = document.getElementById("IndRes").value;
    const goFailed = press("GO");
    return { calcFailed, indRes, goFailed, results: document.getElementById("Results").value };
  });
}

function expected(outcome) {
  return {
    failed: outcome.status !== "ok",
    text: outcome.text === null ? "text before the click" : outcome.text.replaceAll("\r\n", "\n"),
  };
}

test(`all ${vectors.length} action vectors through the page`, async () => {
  assert.ok(vectors.length >= 1500);
  const { page, context, messages } = await openPage(browser);
  try {
    let checked = 0;
    for (let start = 0; start < vectors.length; start += 100) {
      const slice = vectors.slice(start, start + 100);
      const shown = await page.evaluate(runInPage, slice.map((v) => v.fields));
      shown.forEach((got, i) => {
        const v = slice[i];
        const where = `vector ${start + i + 1}: ${JSON.stringify(v.fields)}`;
        const calc = expected(v.calc);
        const go = expected(v.go);
        assert.equal(got.calcFailed, calc.failed, where);
        assert.equal(got.indRes, calc.text, where);
        assert.equal(got.goFailed, go.failed, where);
        assert.equal(got.results, go.text, where);
        checked++;
      });
    }
    assert.equal(checked, vectors.length);
    assert.deepEqual(messages, [], "console messages");
  } finally {
    await context.close();
  }
});
