// The page's pictures for README.md: desktop (1280×800) and phone (360×740),
// light and dark, after Generate Values on the start-up texts.
// Usage: node tests/web/screenshots.mjs [OUT_DIR] [PAGE_URL]
import fs from "node:fs";
import path from "node:path";
import { launch, pageUrl, root } from "./browser.mjs";

const outDir = process.argv[2] ?? path.join(root, "docs", "screenshots");
const url = process.argv[3] ?? pageUrl;
const screens = [
  ["desktop", { viewport: { width: 1280, height: 800 } }],
  ["phone", { viewport: { width: 360, height: 740 }, deviceScaleFactor: 2, isMobile: true,
    hasTouch: true }],
];

fs.mkdirSync(outDir, { recursive: true });
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
