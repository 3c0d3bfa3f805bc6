// The page's start against two floors: the same window saved as static HTML
// (the page once started, its elements and texts, no script, no module) and
// a page that shows one label. First contentful paint and ready ("uH"
// selected, focus on FormDia; for the static window its load event), all
// from navigation start; loads interleaved, medians. Each load has a new
// browser context, as a person opening the page has (--warm: one context for
// every load, which flatters the page). With --cpu-throttle N the browser's
// CPU runs N times slower (4 is about a mid-range phone). TOLVEX_PAGE names
// another page file. With --site the page is the site's (TOLVEX_SITE, else
// build-web/site), served from 127.0.0.1 with its module as a file of its
// own, and the two floors are served beside it.
// Usage: node bench/page_ready.mjs [LOADS] [--cpu-throttle N] [--warm] [--site]
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { pathToFileURL } from "node:url";
import { kDesktop, launch, pageUrl, pagePath, root } from "../tests/web/browser.mjs";
import { serve } from "../tests/web/static_host.mjs";

const args = process.argv.slice(2);
const throttleAt = args.indexOf("--cpu-throttle");
const throttle = throttleAt < 0 ? 1 : Number(args.splice(throttleAt, 2)[1]);
const warmAt = args.indexOf("--warm");
const warm = warmAt >= 0;
if (warm) args.splice(warmAt, 1);
const siteAt = args.indexOf("--site");
const site = siteAt >= 0;
if (site) args.splice(siteAt, 1);
const loads = Number(args[0] ?? 21);
if (!(throttle >= 1) || !(loads >= 1) || args.length > 1) {
  console.error("usage: node bench/page_ready.mjs [LOADS] [--cpu-throttle N] [--warm] [--site]");
  process.exit(2);
}
const folder = fs.mkdtempSync(path.join(os.tmpdir(), "tolvex-floor-"));
const siteDir = process.env.TOLVEX_SITE ?? path.join(root, "build-web", "site");
if (site) fs.cpSync(siteDir, folder, { recursive: true });
const host = site ? await serve(folder) : null;
const urlOf = (name) => (host ? `${host.origin}/${name}` : pathToFileURL(path.join(folder, name)).href);
const measuredPath = site ? path.join(siteDir, "index.html") : pagePath;
const labelPath = path.join(folder, "label.html");
fs.writeFileSync(labelPath, `<!DOCTYPE html><html lang="en"><head><meta charset="utf-8">
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

// The started page as static HTML: the texts written into its boxes, every
// script (and data block), link and the policy taken out, so that the places
// the script gave stay and nothing else is fetched.
function staticWindow() {
  for (const box of document.querySelectorAll("input")) box.setAttribute("value", box.value);
  for (const box of document.querySelectorAll("textarea")) box.textContent = box.value;
  document.querySelectorAll("script, link, meta[http-equiv]").forEach((e) => e.remove());
  delete document.documentElement.dataset.ready;
  return "<!DOCTYPE html>\n" + document.documentElement.outerHTML;
}

const browser = await launch();
const staticPath = path.join(folder, "static.html");
{
  const page = await newPage(browser);
  await page.goto(host ? host.origin + "/" : pageUrl);
  await page.waitForSelector("html[data-ready='true']");
  fs.writeFileSync(staticPath, await page.evaluate(staticWindow));
  await page.context().close();
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

// The static window's ready is its load event.
async function staticTimes(page, url) {
  await page.goto(url);
  await page.waitForFunction(() => performance.getEntriesByType("navigation")[0]?.loadEventStart &&
    performance.getEntriesByName("first-contentful-paint").length, null, { polling: 50 });
  return page.evaluate(() => [performance.getEntriesByName("first-contentful-paint")[0].startTime,
    performance.getEntriesByType("navigation")[0].loadEventStart]);
}

const kinds = [
  ["page", host ? host.origin + "/" : pageUrl, startTimes],
  ["static window", urlOf("static.html"), staticTimes],
  ["one label", urlOf("label.html"), startTimes],
];
const shared = warm ? await newPage(browser) : null;
const times = new Map(kinds.map(([name]) => [name, []]));
for (let i = 0; i < loads; i++) {
  for (const [name, url, measure] of kinds) {
    const page = shared ?? (await newPage(browser));
    times.get(name).push(await measure(page, url));
    if (!shared) await page.context().close();
  }
}
await browser.close();
await host?.close();

const size = (file) => `${fs.statSync(file).size} bytes`;
const moduleFile = path.join(siteDir, "tolvex_module.wasm");
console.log(`page: ${measuredPath} (${size(measuredPath)}` + (site ? ", served" : "") +
  (site && fs.existsSync(moduleFile) ? `, module ${size(moduleFile)}` : "") +
  `), static window ${size(staticPath)}`);
console.log(`median of ${loads}, ${warm ? "one browser context" : "a new browser context each"}` +
  (throttle === 1 ? "" : `, CPU throttled ${throttle}x`) + `; load average ${os.loadavg()[0].toFixed(2)}`);
const ms = (name, i) => median(times.get(name).map((t) => t[i]));
console.log("| | page | static window | one label | page / static window |");
console.log("|---|---|---|---|---|");
["first contentful paint", "ready (static window: load)"].forEach((what, i) => {
  const [page, fixed, label] = kinds.map(([name]) => ms(name, i));
  console.log(`| ${what} | ${page.toFixed(1)} ms | ${fixed.toFixed(1)} ms | ${label.toFixed(1)} ms | ` +
    `${(page / fixed).toFixed(2)} |`);
});
