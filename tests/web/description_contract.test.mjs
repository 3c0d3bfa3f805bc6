// The page's reads of the description and of the module's answers against the
// schema (web/description.schema.json): a key it does not declare fails here.
import { test } from "node:test";
import assert from "node:assert/strict";
import fs from "node:fs";
import { createForm, showChanges } from "../../web/page/binding.js";

const read = (where) => fs.readFileSync(new URL(`../../${where}`, import.meta.url), "utf8");
const schema = JSON.parse(read("web/description.schema.json"));
const resolved = (node) => (node.$ref ? resolved(schema.$defs[node.$ref.split("/").pop()]) : node);

// The value, where reading a key the schema does not declare throws.
function strict(value, node) {
  const shape = resolved(node);
  if (value === null || typeof value !== "object") return value;
  if (Array.isArray(value)) return value.map((item) => strict(item, shape.items));
  return new Proxy(value, {
    get(target, key) {
      if (typeof key !== "symbol" && !Object.hasOwn(shape.properties, key))
        throw new Error(`the page reads "${key}", which the schema does not declare`);
      return typeof key === "symbol" ? target[key] : strict(target[key], shape.properties[key]);
    },
  });
}

test("every key of the description the page's modules read is the schema's", () => {
  const files = fs.readdirSync(new URL("../../web/page", import.meta.url));
  const reads = files
    .filter((file) => file.endsWith(".js"))
    .flatMap((file) => [...read(`web/page/${file}`).matchAll(/\bdescription\.(\w+)/g)]);
  assert.ok(reads.length > 0, "the page reads its description");
  for (const [read, key] of reads) assert.ok(Object.hasOwn(schema.properties, key), read);
});

test("a click sends the fields by name and shows the answer by the schema's keys", () => {
  const fields = [{ name: "Box", kind: "singleLine" }, { name: "Units", kind: "unitList" }];
  const rows = [
    // the module's answer, what the boxes then show, the unit list's item
    [{ changes: [{ field: "Box", text: "20" }], failure: "" }, ["20", "mH"], null],
    [{ changes: [{ field: "Units", text: "uH", listIndex: 1 }], failure: "" }, ["7", "uH"], 1],
    [{ changes: [], failure: "stopped" }, ["7", "mH"], null],
  ];
  for (const [answer, shown, item] of rows) {
    const elements = new Map([["Box", { value: "7" }], ["Units", { value: "mH" }]]);
    let selected = null;
    const units = { showSelection: (index) => (selected = index) };
    const sent = [];
    const module = { click: (...call) => sent.push(call) && JSON.stringify(answer) };
    const form = createForm(module, strict(fields, schema.properties.fields), elements, units);
    assert.deepEqual(form.click("Go"), answer);
    assert.deepEqual(sent, [["Go", [["Box", "7"], ["Units", "mH"]]]]);
    showChanges(elements, units, strict(answer, { $ref: "#/$defs/changes" }));
    assert.deepEqual([...elements.values()].map((box) => box.value), shown);
    assert.equal(selected, item);
  }
});
