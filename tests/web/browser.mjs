// Opens the built page from disk in Debian's chromium, headless, with the
// flags that keep the browser itself off the network.
import { chromium } from "playwright-core";
import path from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";

const here = path.dirname(fileURLToPath(import.meta.url));
export const root = path.resolve(here, "..", "..");
export const pagePath = process.env.TOLVEX_PAGE ?? path.join(root, "build-web", "tolvex.html");
export const pageUrl = pathToFileURL(pagePath).href;

const executablePath = process.env.TOLVEX_CHROMIUM ?? "/usr/bin/chromium";
const args = ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
  "--disable-background-networking", "--disable-component-update", "--disable-sync"];

export async function launch() {
  return chromium.launch({ executablePath, args });
}

// The desktop the page tests run at unless a test names another screen.
export const kDesktop = { viewport: { width: 1280, height: 800 } };

// A fresh page at the start-up state; every request it makes is recorded,
// and every console message and uncaught error (the page has none to give).
// held: the module's compile waits for the page's releaseModule(), and the
// page is not waited for.
export async function openPage(browser, url = pageUrl, screen = kDesktop, held = false) {
  const context = await browser.newContext(screen);
  const page = await context.newPage();
  const requests = [];
  const messages = [];
  page.on("request", (request) => requests.push(request.url()));
  page.on("console", (message) => messages.push(`${message.type()}: ${message.text()}`));
  page.on("pageerror", (error) => messages.push(`uncaught: ${error.message}`));
  if (held) await page.addInitScript(() => {
    const compile = WebAssembly.compile;
    const released = new Promise((resolve) => (window.releaseModule = resolve));
    WebAssembly.compile = (bytes) => released.then(() => compile.call(WebAssembly, bytes));
  });
  await page.goto(url);
  if (!held) await page.waitForSelector("html[data-ready='true']");
  return { page, context, requests, messages };
}

// The same browser with its profile in the folder userDataDir: unlike
// launch()'s contexts it is not incognito, as Chromium's checks for
// installing a web app require.
export async function launchProfile(userDataDir, options = {}) {
  return chromium.launchPersistentContext(userDataDir, { executablePath, args, ...options });
}
