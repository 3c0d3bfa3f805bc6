// axe-core's audit in Chromium, Firefox ESR and WebKitGTK, in the light and
// the dark scheme: each engine paints the system colours its own way, so
// contrast that holds in one can fail in another.
import { test } from "node:test";
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { createRequire } from "node:module";
import { pageUrl } from "./browser.mjs";
import { kEngineNames, launchEngine } from "./engines.mjs";

const axeSource = readFileSync(createRequire(import.meta.url).resolve("axe-core/axe.min.js"),
  "utf8");
const kAxeTags = ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa", "wcag22aa", "best-practice"];

// The audit, with the failure dialog opened first when asked, and each
// caption's and button's contrast with the nearest face behind it, which axe
// leaves out for the window's labels under its scale.
async function auditInPage({ tags, dialog }) {
  if (dialog) {
    for (const id of ["FormDia", "WireDia", "Length"]) document.getElementById(id).value = "";
    document.getElementById("Turns").value = "10";
    document.getElementById("CalcInd").click();
  }
  const result = await window.axe.run(document, { runOnly: { type: "tag", values: tags } });
  const found = result.violations.map((v) => `${v.id}: ` + v.nodes.map((n) =>
    `${n.target.join(" ")} ${n.any.map((c) => c.message).join("; ")}`).join(", "));
  // rgb(), rgba() or color(srgb ...) as 0-255 channels and an alpha.
  const channels = (css) => {
    const n = css.match(/[\d.]+/g).map(Number);
    return [...n.slice(0, 3).map((c) => (css.startsWith("color(") ? c * 255 : c)), n[3] ?? 1];
  };
  const luminance = (css) => channels(css).slice(0, 3).map((c) => c / 255)
    .map((s) => (s <= 0.04045 ? s / 12.92 : ((s + 0.055) / 1.055) ** 2.4))
    .reduce((sum, c, i) => sum + [0.2126, 0.7152, 0.0722][i] * c, 0);
  for (const e of document.querySelectorAll("#Tolvex .label, button")) {
    if (e.textContent.trim() === "" || e.getClientRects().length === 0) continue;
    let back = e;
    while (back && channels(getComputedStyle(back).backgroundColor)[3] === 0)
      back = back.parentElement;
    const colours = [getComputedStyle(e).color,
      back ? getComputedStyle(back).backgroundColor : "rgb(255, 255, 255)"];
    const [high, low] = colours.map(luminance).sort((a, b) => b - a);
    const ratio = (high + 0.05) / (low + 0.05);
    const name = e.id ? `#${e.id}` : `.${e.className}`;
    if (ratio < 4.5) found.push(`contrast: ${name} ${colours.join(" on ")} ${ratio.toFixed(2)}`);
  }
  return found;
}
// axe's source in the function each engine runs: the page's policy lets no
// script be added, and only a function crosses every engine's evaluate.
const AsyncFunction = (async () => {}).constructor;
const withAxe = new AsyncFunction("arg", `${axeSource}\nreturn (${auditInPage})(arg);`);

const kScreens = [
  { name: "the window", size: { width: 1280, height: 800 } },
  { name: "the window with the failure dialog", size: { width: 1280, height: 800 }, dialog: true },
  { name: "the column", size: { width: 400, height: 740 } },
];

for (const name of kEngineNames)
  for (const colorScheme of ["light", "dark"])
    test(`axe in ${name}, ${colorScheme}`, async (t) => {
      const engine = await launchEngine(name, { colorScheme });
      try {
        for (const screen of kScreens)
          await t.test(screen.name, async () => {
            const page = await engine.open(pageUrl, screen.size);
            const violations = await page.evaluate(withAxe,
              { tags: kAxeTags, dialog: screen.dialog === true });
            assert.deepEqual(violations, [], `${engine.name}, ${colorScheme}, ${screen.name}`);
          });
      } finally {
        await engine.close();
      }
    });
