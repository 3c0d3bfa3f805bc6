// Every action vector of the conformance data, typed into the page's boxes
// and clicked through its buttons, against the independent model's texts,
// and each kind of failure as the first action of a fresh page: in Chromium,
// Firefox ESR and WebKitGTK.
import { test } from "node:test";
import assert from "node:assert/strict";
import fs from "node:fs";
import path from "node:path";
import { pageUrl, kDesktop, root } from "./browser.mjs";
import { heardMessages, kEngineNames, launchEngine } from "./engines.mjs";

const vectors = fs
  .readFileSync(path.join(root, "tests", "data", "actions.jsonl"), "utf8")
  .split("\n")
  .filter((line) => line.trim() !== "")
  .map((line) => JSON.parse(line));

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

// Each failure's kind, in a fresh page: its warning, and what the action wrote
// before it stays (a sweep keeps its header and the rows before the failure).
const kFailures = [
  { button: "CalcInd", fields: { FormDia: "", WireDia: "", Length: "", Turns: "10" },
    warning: "Calculate Inductance stopped with an overflow: 0 was divided by 0, which has no " +
      "value.", shows: { IndRes: "before" } },
  { button: "CalcInd", fields: { FormDia: "1e308", WireDia: "2.87", Turns: "484.2",
    Length: "149.29" },
    warning: "Calculate Inductance stopped with an overflow: a number is too large.",
    shows: { IndRes: "before" } },
  { button: "GO", fields: { FormDia: "&H8000", WireDia: "2.8", Ind: "-0.5", IndUnits: "nH" },
    warning: "Generate Values stopped with a division by zero.",
    shows: { Results: "Min -1 turns close wound,   length -2.8\n" } },
  { button: "GO", fields: { FormDia: "&h7fff", WireDia: "1e-400", Ind: "-174" },
    warning: "Generate Values stopped with an invalid argument: the square root of a negative " +
      "number." },
  { button: "GO", fields: { Ind: "20", IndUnits: "mH" }, rows: 9,
    warning: "Generate Values stopped with an overflow: a turn count is outside the whole " +
      "numbers -32768 to 32767." },
];

function failInPage({ button, fields }) {
  for (const [id, text] of Object.entries({ IndRes: "before", Results: "before", ...fields })) {
    const box = document.getElementById(id);
    box.value = text;
    box.dispatchEvent(new Event("input", { bubbles: true }));
  }
  document.getElementById(button).click();
  const results = document.getElementById("Results").value;
  return { open: document.getElementById("FailureDialog").open,
    warning: document.getElementById("FailureText").textContent,
    IndRes: document.getElementById("IndRes").value, Results: results,
    rows: results.split("\n").filter((line) => line.includes("Turns")).length };
}

for (const name of kEngineNames) {
  test(`in ${name}: all ${vectors.length} action vectors, then each failure in a fresh page`,
    async (t) => {
      const engine = await launchEngine(name);
      try {
        await t.test("the action vectors", async () => checkVectors(await engine.open(pageUrl,
          kDesktop.viewport)));
        await t.test("each failure first", async () => {
          for (const failure of kFailures) {
            const page = await engine.open(pageUrl, kDesktop.viewport);
            const got = await page.evaluate(failInPage, failure);
            const where = `${failure.button} ${JSON.stringify(failure.fields)}`;
            assert.equal(got.open, true, where);
            assert.equal(got.warning, failure.warning, where);
            for (const [id, text] of Object.entries(failure.shows ?? {}))
              assert.equal(got[id], text, `${where}: ${id}`);
            if (failure.rows) assert.equal(got.rows, failure.rows, where);
            assert.deepEqual(await heardMessages(page), [], `${where}: console messages`);
          }
        });
      } finally {
        await engine.close();
      }
    });
}

async function checkVectors(page) {
  assert.ok(vectors.length >= 1500);
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
  assert.deepEqual(await heardMessages(page), [], "console messages");
}
