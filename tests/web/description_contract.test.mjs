// The page's reads of the window's description and of the module's answers,
// against the description's schema (web/description.schema.json): a key the
// page reads that the schema does not declare fails here, before a browser.
import { test } from "node:test";
import assert from "node:assert/strict";
import fs from "node:fs";
import path from "node:path";
import { fileURLToPath } from "node:url";
import { createForm, showChanges } from "../../web/page/binding.js";

const root = fileURLToPath(new URL("../..", import.meta.url));
const schema = JSON.parse(fs.readFileSync(path.join(root, "web/description.schema.json"), "utf8"));

function resolved(node) {
  return node.$ref ? resolved(schema.$defs[node.$ref.split("/").pop()]) : node;
}

// The value, where reading a key the schema does not declare throws.
function strict(value, node) {
  const shape = resolved(node);
  if (value === null || typeof value !== "object") return value;
  if (Array.isArray(value)) return value.map((item) => strict(item, shape.items));
  return new Proxy(value, {
    get(target, key) {
      if (typeof key === "symbol") return target[key];
      if (!Object.hasOwn(shape.properties, key))
        throw new Error(`the page reads "${key}", which the schema does not declare`);
      return strict(target[key], shape.properties[key]);
    },
  });
}

// Every `description.KEY` the page's modules read.
function descriptionReads() {
  const folder = path.join(root, "web/page");
  const reads = [];
  for (const file of fs.readdirSync(folder).filter((name) => name.endsWith(".js"))) {
    const text = fs.readFileSync(path.join(folder, file), "utf8");
    for (const [, key] of text.matchAll(/\bdescription\.(\w+)/g)) reads.push([file, key]);
  }
  return reads;
}

test("every key of the description the page's modules read is the schema's", () => {
  const reads = descriptionReads();
  assert.ok(reads.length > 0, "the page reads its description");
  for (const [file, key] of reads)
    assert.ok(Object.hasOwn(schema.properties, key), `${file} reads description.${key}`);
});

test("the page shows a change and a click's answer by the schema's keys", () => {
  const changes = resolved({ $ref: "#/$defs/changes" });
  const rows = [
    // what the module answers, what the boxes then show, the unit list's item
    [{ changes: [{ field: "Box", text: "20" }], failure: "" }, { Box: "20", Units: "" }, null],
    [
      { changes: [{ field: "Units", text: "uH", listIndex: 1 }], failure: "" },
      { Box: "", Units: "uH" },
      1,
    ],
    [{ changes: [], failure: "stopped" }, { Box: "", Units: "" }, null],
  ];
  for (const [update, shown, item] of rows) {
    const elements = new Map([["Box", { value: "" }], ["Units", { value: "" }]]);
    let selected = null;
    const units = { showSelection: (index) => (selected = index) };
    showChanges(elements, units, strict(update, changes));
    const boxes = Object.fromEntries([...elements].map(([name, box]) => [name, box.value]));
    assert.deepEqual(boxes, shown);
    assert.equal(selected, item);
  }
});

test("a click sends every field's text under the schema's field names", () => {
  const fields = strict(
    [{ name: "Box", kind: "singleLine" }, { name: "Units", kind: "unitList" }],
    schema.properties.fields,
  );
  const elements = new Map([["Box", { value: "7" }], ["Units", { value: "mH" }]]);
  const sent = [];
  const answer = { changes: [{ field: "Box", text: "8" }], failure: "" };
  const module = {
    startUp: () => {},
    click: (button, texts) => sent.push([button, texts]) && JSON.stringify(answer),
  };
  const form = createForm(module, fields, elements, { showSelection: () => {} });
  assert.deepEqual(form.click("Go"), answer);
  assert.deepEqual(sent, [["Go", [["Box", "7"], ["Units", "mH"]]]]);
  assert.equal(elements.get("Box").value, "8");
});
