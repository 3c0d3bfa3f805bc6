// The page's start against a page that shows one label: first contentful
// paint and ready ("uH" selected, focus on FormDia), both from navigation
// start; loads interleaved, medians. Each load has a new browser context, as
// a person opening the page has (--warm: one context for every load, which
// flatters the page). With --cpu-throttle N the browser's CPU runs N times
// slower (4 is about a mid-range phone). TOLVEX_PAGE names another page file.
// Usage: node bench/page_ready.mjs [LOADS] [--cpu-throttle N] [--warm]
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { pathToFileURL } from "node:url";
import { kDesktop, launch, pageUrl, pagePath } from "../tests/web/browser.mjs";

const args = process.argv.slice(2);
const throttleAt = args.indexOf("--cpu-throttle");
const throttle = throttleAt < 0 ? 1 : Number(args.splice(throttleAt, 2)[1]);
const warmAt = args.indexOf("--warm");
const warm = warmAt >= 0;
if (warm) args.splice(warmAt, 1);
const loads = Number(args[0] ?? 21);
if (!(throttle >= 1) || !(loads >= 1) || args.length > 1) {
  console.error("usage: node bench/page_ready.mjs [LOADS] [--cpu-throttle N] [--warm]");
  process.exit(2);
}
const floorPath = path.join(fs.mkdtempSync(path.join(os.tmpdir(), "tolvex-floor-")), "label.html");
fs.writeFileSync(floorPath, `<!DOCTYPE html><html lang="en"><head><meta charset="utf-8">
<title>Label</title></head><body><label>Inductance</label>
<script>performance.mark("tolvex-ready"); document.documentElement.dataset.ready = "true";</script>
</body></html>`);

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

async function newPage(browser) {
  const page = await (await browser.newContext(kDesktop)).newPage();
  if (throttle !== 1) {
    const cdp = await page.context().newCDPSession(page);
    await cdp.send("Emulation.setCPUThrottlingRate", { rate: throttle });
  }
  return page;
}

// [first contentful paint, ready] in ms after navigation start. Both are
// time stamps the page takes, so the wait polls rarely: a selector's wait
// would run in the page on every change of it, while it starts. (The
// one-label page is ready before its first paint.)
async function startTimes(page, url) {
  await page.goto(url);
  await page.waitForFunction(() => document.documentElement.dataset.ready === "true" &&
    performance.getEntriesByName("first-contentful-paint").length, null, { polling: 50 });
  return page.evaluate(() => ["first-contentful-paint", "tolvex-ready"]
    .map((name) => performance.getEntriesByName(name)[0].startTime));
}

const browser = await launch();
const shared = warm ? await newPage(browser) : null;
const times = { tolvex: [], label: [] };
for (let i = 0; i < loads; i++) {
  for (const [name, url] of [["tolvex", pageUrl], ["label", pathToFileURL(floorPath).href]]) {
    const page = shared ?? (await newPage(browser));
    times[name].push(await startTimes(page, url));
    if (!shared) await page.context().close();
  }
}
await browser.close();

console.log(`page: ${pagePath} (${fs.statSync(pagePath).size} bytes)`);
const how = `median of ${loads}, ${warm ? "one browser context" : "a new browser context each"}` +
  (throttle === 1 ? "" : `, CPU throttled ${throttle}x`);
["first contentful paint", "ready"].forEach((what, i) => {
  const tolvex = median(times.tolvex.map((t) => t[i]));
  const label = median(times.label.map((t) => t[i]));
  console.log(`${what} after navigation start, ${how}: Tolvex ${tolvex.toFixed(1)} ms, ` +
    `one-label page ${label.toFixed(1)} ms, ratio ${(tolvex / label).toFixed(2)}`);
});
