// The site build-web/site/ served from 127.0.0.1: the same page, installable,
// calculating offline after the first visit, replaced by a new build, asking
// nothing of any other origin; and its icons and security policy.
import { test } from "node:test";
import assert from "node:assert/strict";
import { spawnSync } from "node:child_process";
import crypto from "node:crypto";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { launch, launchProfile, pagePath, root } from "./browser.mjs";
import { kTypes, serve } from "./static_host.mjs";
import { heardMessages, kEngineNames, launchEngine } from "./engines.mjs";

const siteDir = process.env.TOLVEX_SITE ?? path.join(root, "build-web", "site");
const kOneMicrohenryTable = fs.readFileSync(
  path.join(root, "tests", "data", "one_microhenry_table.txt"), "utf8");
const kSiteAllowances = ["manifest-src 'self'", "worker-src 'self'", "img-src 'self'",
  "connect-src 'self'"];

// A browser with a fresh profile, visiting a served folder; every request the
// browser makes, the worker's included, is recorded, and the site's page may
// write no console message (an icon opened alone may: the browser asks for
// /favicon.ico, which the site has not).
async function withSite(folder, use) {
  const host = await serve(folder);
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "tolvex-profile-"));
  const context = await launchProfile(profile, { serviceWorkers: "allow" });
  const requests = [];
  const messages = [];
  context.on("request", (request) => requests.push(request.url()));
  context.on("console", (message) => {
    if (/\/(index\.html)?$/.test(new URL(message.page()?.url() ?? "about:blank").pathname))
      messages.push(`${message.type()}: ${message.text()}`);
  });
  try {
    await use({ context, host, requests });
    assert.deepEqual(messages, [], "console messages");
  } finally {
    await context.close();
    await host.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
}

// Opens the page and waits until it is ready and the worker controls it.
async function visit(context, url) {
  const page = await context.newPage();
  await page.goto(url);
  await page.waitForSelector("html[data-ready='true']");
  await page.evaluate(async () => {
    await navigator.serviceWorker.ready;
    if (!navigator.serviceWorker.controller) {
      await new Promise((r) => navigator.serviceWorker.addEventListener("controllerchange", r));
    }
  });
  return page;
}

async function until(condition, seconds = 20) {
  for (const end = Date.now() + seconds * 1000; !(await condition());) {
    assert.ok(Date.now() < end, `not within ${seconds} s`);
    await new Promise((r) => setTimeout(r, 100));
  }
}

async function reloadReady(page) {
  const response = await page.reload();
  await page.waitForSelector("html[data-ready='true']");
  return response;
}

async function generateValues(page) {
  await page.click("#GO");
  return page.$eval("#Results", (e) => e.value);
}

const cacheNames = (page) => page.evaluate(() => caches.keys());
const workerText = () => fs.readFileSync(path.join(siteDir, "sw.js"), "utf8");
const buildOf = (worker) => JSON.parse(/^const kBuild = (".*");$/m.exec(worker)[1]);
const readManifest = () =>
  JSON.parse(fs.readFileSync(path.join(siteDir, "manifest.webmanifest"), "utf8"));
const keptFiles = (worker) => JSON.parse(/^const kFiles = (\[.*\]);$/m.exec(worker)[1]);

function policyOf(html) {
  const metas = [...html.matchAll(
    /<meta\s+http-equiv="Content-Security-Policy"\s+content="([^"]*)"\s*>/gi)];
  assert.equal(metas.length, 1, "one Content-Security-Policy meta element");
  return metas[0][1].split(";").map((d) => d.trim().replace(/\s+/g, " ")).filter((d) => d);
}

function pngSize(file) {
  const bytes = fs.readFileSync(file);
  assert.equal(bytes.toString("latin1", 12, 16), "IHDR", `${file} is a PNG`);
  return `${bytes.readUInt32BE(16)}x${bytes.readUInt32BE(20)}`;
}

test("Chromium finds the served site installable: manifest, icons and worker", () =>
  withSite(siteDir, async ({ context, host }) => {
    const page = await visit(context, host.origin + "/");
    const session = await context.newCDPSession(page);
    const { installabilityErrors } = await session.send("Page.getInstallabilityErrors");
    assert.deepEqual(installabilityErrors, []);
    const manifest = await session.send("Page.getAppManifest");
    assert.equal(manifest.url, host.origin + "/manifest.webmanifest");
    assert.deepEqual(manifest.errors, []);
  }));

test("after the first visit the page opens and calculates with the network off", () =>
  withSite(siteDir, async ({ context, host, requests }) => {
    const page = await visit(context, host.origin + "/");
    const online = await generateValues(page);
    assert.equal(online, kOneMicrohenryTable);
    await context.setOffline(true);
    const asked = host.asked.length;
    for (const address of [host.origin + "/", host.origin + "/index.html?Ind=5"]) {
      const response = await page.goto(address);
      assert.ok(response.fromServiceWorker(), `${address} from the worker`);
      await page.waitForSelector("html[data-ready='true']");
      assert.equal(await page.$eval("#Results", (e) => e.value), "");
      assert.equal(await generateValues(page), online);
    }
    assert.equal(host.asked.length, asked, "nothing reached the host while offline");
    assert.deepEqual(requests.filter((u) => !u.startsWith(host.origin + "/")), []);
    const files = new Set(["/", "/sw.js", ...fs.readdirSync(siteDir).map((f) => "/" + f)]);
    assert.deepEqual(host.asked.filter((p) => !files.has(p)), []);
  }));

// The site's page fetches its module from the host: in each engine it
// calculates as the one-file page does, and says nothing on the console; in
// Chromium also from a host that does not say the file is WebAssembly, which
// streaming compilation refuses.
async function calculatesServed(t, name, types) {
  const host = await serve(siteDir, types);
  t.after(() => host.close());
  const engine = await launchEngine(name);
  t.after(() => engine.close());
  const page = await engine.open(host.origin + "/", { width: 1280, height: 800 });
  const table = await page.evaluate(() => {
    document.getElementById("GO").click();
    return document.getElementById("Results").value;
  });
  assert.equal(table, kOneMicrohenryTable);
  assert.deepEqual(await heardMessages(page), []);
  assert.ok(host.asked.includes("/tolvex_module.wasm"));
}
for (const name of kEngineNames) {
  test(`in ${name}: the served site's page compiles its module file and calculates`, (t) =>
    calculatesServed(t, name, kTypes));
}
test("in chromium: the same from a host that serves the module as application/octet-stream",
  (t) => calculatesServed(t, "chromium", { ...kTypes, ".wasm": "application/octet-stream" }));

test("a site without its module file says so in the failure dialog", async (t) => {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), "tolvex-site-"));
  t.after(() => fs.rmSync(folder, { recursive: true, force: true }));
  fs.copyFileSync(path.join(siteDir, "index.html"), path.join(folder, "index.html"));
  const host = await serve(folder);
  t.after(() => host.close());
  const browser = await launch();
  t.after(() => browser.close());
  const page = await (await browser.newContext()).newPage();
  await page.goto(host.origin + "/", { waitUntil: "commit", timeout: 15000 });
  await page.waitForSelector("#FailureDialog[open]", { timeout: 15000 });
  assert.equal(await page.textContent("#FailureText"),
    `The calculator could not be loaded: ${host.origin}/tolvex_module.wasm: HTTP 404`);
});

test("a new build's worker replaces the cache and the page; the old cache is deleted", async () => {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), "tolvex-site-"));
  try {
    fs.cpSync(siteDir, folder, { recursive: true });
    await withSite(folder, async ({ context, host }) => {
      const page = await visit(context, host.origin + "/");
      const oldBuild = buildOf(workerText());
      assert.deepEqual(await cacheNames(page), [`tolvex ${host.origin}/ ${oldBuild}`]);

      // The next build: the same page with one more element, assembled the same way.
      const next = path.join(folder, "next.html");
      fs.writeFileSync(next, fs.readFileSync(pagePath, "utf8")
        .replace("</head>", '<meta name="tolvex-test" content="next build">\n</head>'));
      const assembled = spawnSync("/usr/bin/python3", [
        path.join(root, "web", "build", "assemble-site.py"), next,
        ...["head.html", "manifest.webmanifest", "sw.js"].map((f) => path.join(root, "web", "site",
          f)),
        path.join(root, "icons", "tolvex.svg"), folder], { encoding: "utf8" });
      assert.equal(assembled.status, 0, assembled.stderr);
      fs.rmSync(next);
      const newBuild = buildOf(fs.readFileSync(path.join(folder, "sw.js"), "utf8"));
      assert.notEqual(newBuild, oldBuild);

      // Still the old page until the browser looks for a new worker.
      await reloadReady(page);
      assert.equal(await page.$("meta[name='tolvex-test']"), null);
      await page.evaluate(() => navigator.serviceWorker.getRegistration().then((r) => r.update()));
      const newCache = `tolvex ${host.origin}/ ${newBuild}`;
      await until(async () => (await cacheNames(page)).join() === newCache);
      assert.deepEqual(await cacheNames(page), [newCache]);
      await context.setOffline(true);
      const response = await reloadReady(page);
      assert.ok(response.fromServiceWorker());
      assert.equal(await page.getAttribute("meta[name='tolvex-test']", "content"), "next build");
      assert.equal(await generateValues(page), kOneMicrohenryTable);
    });
  } finally {
    fs.rmSync(folder, { recursive: true, force: true });
  }
});

// The hashes a policy names for the inline elements of a kind that run
// (script elements with a type are data the page reads).
function inlineHashes(html, kind) {
  const pattern = kind === "script" ? /<script>(.*?)<\/script>/gs : /<style>(.*?)<\/style>/gs;
  return [...html.matchAll(pattern)].map(([, text]) =>
    `'sha256-${crypto.createHash("sha256").update(text, "utf8").digest("base64")}'`);
}

test("the site's policy adds manifest, worker, icons and module; tolvex.html keeps the page's", () => {
  const source = fs.readFileSync(path.join(root, "web", "page.html"), "utf8");
  const file = fs.readFileSync(pagePath, "utf8");
  const site = fs.readFileSync(path.join(siteDir, "index.html"), "utf8");
  const head = fs.readFileSync(path.join(root, "web", "site", "head.html"), "utf8");
  // The page's own policy, its inline style and script named by their hashes
  // and nothing else inline allowed.
  const [script, style] = ["script", "style"].map((kind) => inlineHashes(file, kind));
  assert.deepEqual([script.length, style.length], [1, 1]);
  const pagePolicy = policyOf(source).map((d) => d.replace("'script-hashes'", script[0])
    .replace("'style-hashes'", style[0]));
  assert.deepEqual(policyOf(file), pagePolicy);
  assert.ok(!/unsafe-inline|'unsafe-eval'|-hashes'/.test(policyOf(file).join(";")));
  const sitePolicy = pagePolicy.map((d) => d.startsWith("script-src ")
    ? [d, ...inlineHashes(head, "script")].join(" ") : d);
  assert.deepEqual(policyOf(site), [...sitePolicy, ...kSiteAllowances]);
  assert.deepEqual(inlineHashes(site, "script"), [...inlineHashes(head, "script"), ...script]);
  assert.ok(policyOf(site).includes("default-src 'none'"));
  assert.ok(!/'unsafe-eval'|unsafe-inline|\*|https?:/.test(policyOf(site).join(";")));

  // The same page otherwise: only the head's additions differ, and the
  // module's bytes, which the site serves as a file of their own.
  const bare = (html) => html.replace(/<meta\s+http-equiv="Content-Security-Policy"[^>]*>/i, "");
  const moduleLink =
    '\n<link rel="preload" id="ModuleFile" href="tolvex_module.wasm" as="fetch" crossorigin>';
  const [bytesBlock, base64] =
    /\n<script type="application\/octet-stream" id="ModuleBytes">([^<]*)<\/script>/.exec(file);
  assert.equal(bare(site).replace(head, "").replace(moduleLink, ""), bare(file).replace(bytesBlock, ""));
  assert.ok(fs.readFileSync(path.join(siteDir, "tolvex_module.wasm"))
    .equals(Buffer.from(base64, "base64")), "the module file holds the page's bytes");
  const fileHead = file.slice(0, file.indexOf("</head>"));
  assert.ok(!/<link|serviceWorker|theme-color/i.test(fileHead), "tolvex.html stays one file");
});

test("the manifest, the page's links and the worker name every icon at its size", () => {
  const manifest = readManifest();
  assert.equal(manifest.name, "Tolvex");
  assert.deepEqual([manifest.start_url, manifest.scope, manifest.display],
    [".", ".", "standalone"]);
  for (const icon of manifest.icons) {
    const file = path.join(siteDir, icon.src);
    if (icon.type === "image/svg+xml") {
      assert.equal(icon.sizes, "any");
      assert.equal(fs.readFileSync(file, "utf8"),
        fs.readFileSync(path.join(root, "icons", "tolvex.svg"), "utf8"));
    } else {
      assert.equal(icon.type, "image/png");
      assert.equal(pngSize(file), icon.sizes, icon.src);
    }
  }
  const pngs = (purpose) => manifest.icons
    .filter((i) => i.purpose === purpose && i.type === "image/png").map((i) => i.sizes).sort();
  assert.deepEqual(pngs("any"), ["192x192", "512x512"]);
  assert.deepEqual(pngs("maskable"), ["512x512"]);

  const html = fs.readFileSync(path.join(siteDir, "index.html"), "utf8");
  const links = [...html.matchAll(/<link rel="(icon|apple-touch-icon)" href="([^"]+)"([^>]*)>/g)];
  assert.equal(links.length, 3);
  for (const [, rel, href, rest] of links) {
    // An apple-touch-icon has no sizes attribute: iOS wants 180 px.
    const sizes = /sizes="([^"]+)"/.exec(rest)?.[1] ?? (rel === "apple-touch-icon" ? "180x180"
      : null);
    if (href.endsWith(".png")) assert.equal(pngSize(path.join(siteDir, href)), sizes, href);
    else assert.ok(fs.existsSync(path.join(siteDir, href)), href);
  }
  assert.equal(/<meta name="theme-color" content="([^"]+)">/.exec(html)[1], manifest.theme_color);

  // The worker keeps every file of the site but itself, and nothing else.
  assert.deepEqual(keptFiles(workerText()),
    fs.readdirSync(siteDir).filter((f) => f !== "sw.js").sort());
});

test("the icons render the same bytes again; the maskable one keeps to its safe circle", () =>
  withSite(siteDir, async ({ context, host }) => {
    const manifest = readManifest();
    for (const [name, extra] of [["icon-32.png", []], ["icon-512.png", []],
      ["icon-maskable-512.png", [`--background-color=${manifest.background_color}`]]]) {
      const size = pngSize(path.join(siteDir, name)).split("x")[0];
      const out = path.join(os.tmpdir(), `tolvex-${process.pid}-${name}`);
      const rendered = spawnSync("rsvg-convert", [...extra, `--width=${size}`, `--height=${size}`,
        `--output=${out}`, path.join(root, "icons", "tolvex.svg")]);
      assert.equal(rendered.status, 0);
      assert.ok(fs.readFileSync(out).equals(fs.readFileSync(path.join(siteDir, name))), name);
      fs.rmSync(out);
    }
    const page = await context.newPage();
    await page.goto(host.origin + "/icon-maskable-512.png");
    // Every pixel outside the central circle of 80% is the background colour;
    // inside it, the drawing is not all background.
    const pixels = await page.evaluate((background) => {
      const image = document.querySelector("img");
      const canvas = document.createElement("canvas");
      canvas.width = image.naturalWidth;
      canvas.height = image.naturalHeight;
      const draw = canvas.getContext("2d");
      draw.drawImage(image, 0, 0);
      const { data, width, height } = draw.getImageData(0, 0, canvas.width, canvas.height);
      // Antialiasing the square's rounded corners over the same colour may round by one.
      const rgb = [1, 3, 5].map((i) => parseInt(background.slice(i, i + 2), 16));
      const isBackground = (i) => data[i + 3] === 255 && rgb.every((c, k) => Math.abs(data[i + k] - c) <= 1);
      let outside = 0;
      let inside = 0;
      for (let y = 0; y < height; y++) {
        for (let x = 0; x < width; x++) {
          if (isBackground(4 * (y * width + x))) continue;
          if (Math.hypot(x + 0.5 - width / 2, y + 0.5 - height / 2) > 0.4 * width) outside++;
          else inside++;
        }
      }
      return { outside, inside };
    }, manifest.background_color);
    assert.equal(pixels.outside, 0, "pixels of the drawing outside the safe circle");
    assert.ok(pixels.inside > 512 * 512 * 0.1, `${pixels.inside} pixels of the drawing`);
  }));
