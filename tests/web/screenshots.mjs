// The page's pictures for README.md: desktop (1280×800) and phone (360×740),
// light and dark, after Generate Values on the start-up texts. With --engine
// (chromium, firefox or webkit) the same pictures from that engine, and one
// of the failure dialog, for looking at the page in each engine.
// Usage: node tests/web/screenshots.mjs [--engine NAME] [OUT_DIR] [PAGE_URL]
import fs from "node:fs";
import path from "node:path";
import { launch, pageUrl, root } from "./browser.mjs";
import { launchEngine } from "./engines.mjs";

const args = process.argv.slice(2);
const engineAt = args.indexOf("--engine");
const engineName = engineAt < 0 ? null : args.splice(engineAt, 2)[1];
const outDir = args[0] ?? path.join(root, "docs", "screenshots");
const url = args[1] ?? pageUrl;
const screens = [
  ["desktop", { viewport: { width: 1280, height: 800 } }],
  ["phone", { viewport: { width: 360, height: 740 }, deviceScaleFactor: 2, isMobile: true,
    hasTouch: true }],
];

// The start-up texts' table, then (failure) a sweep that overflows part-way.
function act(failure) {
  for (const [id, text] of failure ? [["Ind", "20"], ["IndUnits", "mH"]] : []) {
    document.getElementById(id).value = text;
    document.getElementById(id).dispatchEvent(new Event("input", { bubbles: true }));
  }
  document.getElementById("GO").click();
  document.getElementById("FormDia").focus();
  return null;
}

async function inEngine(name) {
  for (const colorScheme of ["light", "dark"]) {
    const engine = await launchEngine(name, { colorScheme });
    for (const [screen, { viewport }] of screens) {
      for (const failure of colorScheme === "light" ? [false, true] : [false]) {
        const page = await engine.open(url, viewport);
        await page.evaluate(act, failure);
        const file = path.join(outDir,
          `${name}-${screen}-${colorScheme}${failure ? "-failure" : ""}.png`);
        fs.writeFileSync(file, await page.screenshot());
        console.log(file);
      }
    }
    await engine.close();
  }
}

fs.mkdirSync(outDir, { recursive: true });
if (engineName) {
  await inEngine(engineName);
} else {
  const browser = await launch();
  for (const [name, options] of screens) {
    for (const colorScheme of ["light", "dark"]) {
      const context = await browser.newContext({ ...options, colorScheme });
      const page = await context.newPage();
      await page.goto(url);
      await page.waitForSelector("html[data-ready='true']");
      await page.click("#GO");
      await page.focus("#FormDia");
      const file = path.join(outDir, `${name}-${colorScheme}.png`);
      await page.screenshot({ path: file });
      console.log(file);
      await context.close();
    }
  }
  await browser.close();
}
