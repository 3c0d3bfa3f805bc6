// Time from navigation start to the page being ready ("uH" selected, focus
// on FormDia), against a page that shows one label, in one browser instance,
// loads interleaved; medians. With --cpu-throttle N the browser's CPU runs N
// times slower (4 is about a mid-range phone).
// Usage: node bench/page_ready.mjs [LOADS] [--cpu-throttle N]
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { pathToFileURL } from "node:url";
import { launch, pageUrl, pagePath } from "../tests/web/browser.mjs";

const args = process.argv.slice(2);
const throttleAt = args.indexOf("--cpu-throttle");
const throttle = throttleAt < 0 ? 1 : Number(args.splice(throttleAt, 2)[1]);
const loads = Number(args[0] ?? 21);
if (!(throttle >= 1) || !(loads >= 1)) {
  console.error("usage: node bench/page_ready.mjs [LOADS] [--cpu-throttle N]");
  process.exit(2);
}
const floorPath = path.join(fs.mkdtempSync(path.join(os.tmpdir(), "tolvex-floor-")), "label.html");
fs.writeFileSync(floorPath, `<!DOCTYPE html><html lang="en"><head><meta charset="utf-8">
<title>Label</title></head><body><label>Inductance</label>
<script>performance.mark("tolvex-ready"); document.documentElement.dataset.ready = "true";</script>
</body></html>`);

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

async function readyTime(page, url) {
  await page.goto(url);
  await page.waitForSelector("html[data-ready='true']");
  return page.evaluate(() => performance.getEntriesByName("tolvex-ready")[0].startTime);
}

const browser = await launch();
const page = await (await browser.newContext()).newPage();
if (throttle !== 1) {
  const cdp = await page.context().newCDPSession(page);
  await cdp.send("Emulation.setCPUThrottlingRate", { rate: throttle });
}
const times = { tolvex: [], label: [] };
for (let i = 0; i < loads; i++) {
  times.tolvex.push(await readyTime(page, pageUrl));
  times.label.push(await readyTime(page, pathToFileURL(floorPath).href));
}
await browser.close();
const tolvex = median(times.tolvex);
const label = median(times.label);
console.log(`page: ${pagePath} (${fs.statSync(pagePath).size} bytes)`);
const cpu = throttle === 1 ? "" : `, CPU throttled ${throttle}x`;
console.log(`ready after navigation start, median of ${loads}${cpu}: Tolvex ${tolvex.toFixed(1)} ms, ` +
  `one-label page ${label.toFixed(1)} ms, ratio ${(tolvex / label).toFixed(2)}`);
