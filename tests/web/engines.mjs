// The page in Debian's other two engines, each through the protocol its own
// package speaks: Firefox ESR (Gecko) by WebDriver BiDi on its remote port,
// WebKitGTK by W3C WebDriver through WebKitWebDriver and its MiniBrowser.
// Chromium, through playwright-core as the other page tests, joins them here.
// Playwright drives neither build, and Debian has no geckodriver; both
// protocols are small enough to speak here (BiDi over the ws package, the
// other over node's fetch). Each engine gives the same few calls:
//   const engine = await launchEngine("webkit", { colorScheme: "dark" });
//   const page = await engine.open(url, { width, height });
//   await page.evaluate(fn, arg); page.messages; await page.screenshot();
//   await engine.close();
// evaluate() hands fn one JSON value and gets one back, as page.evaluate does.
import { spawn } from "node:child_process";
import fs from "node:fs";
import net from "node:net";
import os from "node:os";
import path from "node:path";
import WebSocket from "ws";
import { launch, openPage, root } from "./browser.mjs";

export const kEngineNames = ["chromium", "firefox", "webkit"];
const kScriptTimeoutMs = 120000;

// The function as the page runs it: its JSON argument in, its JSON result out.
const wrapped = (fn) => `async (json) => JSON.stringify(await (${fn})(JSON.parse(json)))`;

function started(child, pattern, what) {
  return new Promise((resolve, reject) => {
    let heard = "";
    const listen = (chunk) => {
      heard += chunk;
      const found = heard.match(pattern);
      if (found) resolve(found);
    };
    child.stderr.on("data", listen);
    child.stdout?.on("data", listen);
    child.on("exit", (code) => reject(new Error(`${what} ended (${code}): ${heard}`)));
  });
}

// A process and all it starts, in a process group of its own.
function start(command, args, env = process.env) {
  return spawn(command, args, { detached: true, env, stdio: ["ignore", "pipe", "pipe"] });
}
const stop = (child) => {
  try {
    process.kill(-child.pid, "SIGTERM");
  } catch {
    // already gone
  }
};
// The same, awaited (at most 10 s), then its profile removed: Firefox writes
// there until it has exited, and its helpers a moment longer, so the removal
// retries a folder that fills again as it goes.
async function stopAndRemove(child, folder) {
  const exited = child.exitCode !== null || child.signalCode !== null
    ? Promise.resolve()
    : new Promise((resolve) => child.once("exit", resolve));
  stop(child);
  await Promise.race([exited, new Promise((resolve) => setTimeout(resolve, 10000))]);
  fs.rmSync(folder, { recursive: true, force: true, maxRetries: 10, retryDelay: 200 });
}

// ---- Firefox ESR over WebDriver BiDi ----

class Bidi {
  constructor(socket) {
    this.socket = socket;
    this.nextId = 1;
    this.waiting = new Map();
    this.logs = new Map(); // browsing context -> its console and error messages
    socket.on("message", (data) => this.heard(JSON.parse(data)));
  }

  heard(message) {
    if (message.id === undefined) {
      if (message.method === "log.entryAdded") {
        const { type, level, text, source } = message.params;
        this.logs.get(source.context)?.push(`${type === "javascript" ? "uncaught" : level}: ${text}`);
      }
      return;
    }
    const { resolve, reject } = this.waiting.get(message.id);
    this.waiting.delete(message.id);
    if (message.type === "error") reject(new Error(`${message.error}: ${message.message}`));
    else resolve(message.result);
  }

  send(method, params) {
    const id = this.nextId++;
    this.socket.send(JSON.stringify({ id, method, params }));
    return new Promise((resolve, reject) => this.waiting.set(id, { resolve, reject }));
  }
}

async function launchFirefox(colorScheme) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "tolvex-firefox-"));
  // 0 dark, 1 light: what prefers-color-scheme reports to pages.
  fs.writeFileSync(path.join(profile, "user.js"), "user_pref(\"layout.css.prefers-color-scheme" +
    `.content-override", ${colorScheme === "dark" ? 0 : 1});\n`);
  const binary = process.env.TOLVEX_FIREFOX ?? "firefox-esr";
  const child = start(binary, ["--headless", "--no-remote", "--profile", profile,
    "--remote-debugging-port", "0", "about:blank"]);
  const [, address] = await started(child, /WebDriver BiDi listening on (ws:\/\/\S+)/, binary);
  const socket = new WebSocket(`${address}/session`);
  await new Promise((resolve, reject) => socket.on("open", resolve).on("error", reject));
  const bidi = new Bidi(socket);
  await bidi.send("session.new", { capabilities: {} });
  await bidi.send("session.subscribe", { events: ["log.entryAdded"] });
  const { context } = await bidi.send("browsingContext.create", { type: "tab" });
  const messages = [];
  bidi.logs.set(context, messages);
  const page = {
    messages,
    async evaluate(fn, arg = null) {
      const { result, exceptionDetails } = await bidi.send("script.callFunction", {
        functionDeclaration: wrapped(fn), awaitPromise: true, target: { context },
        arguments: [{ type: "string", value: JSON.stringify(arg) }],
      });
      if (exceptionDetails) throw new Error(`in the page: ${exceptionDetails.text}`);
      return JSON.parse(result.value);
    },
    async screenshot() {
      return Buffer.from((await bidi.send("browsingContext.captureScreenshot", { context })).data,
        "base64");
    },
  };
  return {
    name: "Firefox ESR",
    async open(url, { width, height }) {
      await bidi.send("browsingContext.setViewport", { context, viewport: { width, height } });
      await bidi.send("browsingContext.navigate", { context, url, wait: "complete" });
      messages.length = 0;
      return ready(page);
    },
    async close() {
      await bidi.send("browser.close", {}).catch(() => {});
      socket.close();
      await stopAndRemove(child, profile);
    },
  };
}

// ---- WebKitGTK over W3C WebDriver ----

function freePort() {
  return new Promise((resolve) => {
    const server = net.createServer().listen(0, "127.0.0.1", () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
  });
}

// The MiniBrowser sits beside the engine's other programs, in the folder of
// the machine's multiarch triplet (gcc -print-multiarch names it too).
function miniBrowser() {
  if (process.env.TOLVEX_MINIBROWSER) return process.env.TOLVEX_MINIBROWSER;
  const found = fs.readdirSync("/usr/lib")
    .map((dir) => path.join("/usr/lib", dir, "webkit2gtk-4.1", "MiniBrowser"))
    .filter((file) => fs.existsSync(file));
  if (found.length !== 1) throw new Error(`MiniBrowser: found ${found.length} in /usr/lib/*/`);
  return found[0];
}

async function launchWebKit(colorScheme) {
  const port = await freePort();
  // The MiniBrowser is a GTK window: a virtual display unless one is there.
  // Its GTK theme's dark variant is what prefers-color-scheme reports.
  const env = { ...process.env, GTK_THEME: colorScheme === "dark" ? "Adwaita:dark" : "Adwaita" };
  const driver = ["WebKitWebDriver", `--port=${port}`];
  const child = process.env.DISPLAY ? start(driver[0], driver.slice(1), env)
    : start("sh", [path.join(root, "tests", "tools", "with-xvfb.sh"), ...driver],
      { ...env, TOLVEX_XVFB_SCREEN: "1600x1200x24" });
  const base = `http://127.0.0.1:${port}`;
  const call = async (method, where, body) => {
    const response = await fetch(base + where, { method, body: body && JSON.stringify(body),
      headers: { "content-type": "application/json" } });
    const { value } = await response.json();
    if (value?.error) throw new Error(`${value.error}: ${value.message}`);
    return value;
  };
  for (let tries = 0; ; tries++) {
    try {
      if ((await call("GET", "/status")).ready) break;
    } catch (error) {
      if (tries > 100) throw error;
    }
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
  const options = { binary: miniBrowser(), args: ["--automation"] };
  const { sessionId } = await call("POST", "/session",
    { capabilities: { alwaysMatch: { "webkitgtk:browserOptions": options } } });
  const session = `/session/${sessionId}`;
  await call("POST", `${session}/timeouts`, { script: kScriptTimeoutMs });
  const page = {
    messages: [],
    async evaluate(fn, arg = null) {
      const [thrown, json] = await call("POST", `${session}/execute/async`, {
        script: `const done = arguments[1]; (${wrapped(fn)})(arguments[0])
          .then((json) => done([null, json]), (error) => done([String(error), null]));`,
        args: [JSON.stringify(arg)],
      });
      if (thrown) throw new Error(`in the page: ${thrown}`);
      return JSON.parse(json);
    },
    async screenshot() {
      await page.evaluate(painted);
      return Buffer.from(await call("GET", `${session}/screenshot`), "base64");
    },
  };
  // The window's size is the viewport's plus the window's own frame.
  const fit = async ({ width, height }) => {
    const seen = await page.evaluate(() => [innerWidth, innerHeight]);
    const rect = await call("GET", `${session}/window/rect`);
    await call("POST", `${session}/window/rect`,
      { width: rect.width + width - seen[0], height: rect.height + height - seen[1] });
  };
  return {
    name: "WebKitGTK",
    async open(url, screen) {
      await call("POST", `${session}/url`, { url });
      await fit(screen);
      await page.evaluate(painted); // the new size laid out before anything is measured
      await ready(page);
      // Classic WebDriver hears nothing of the page's console: the page's own
      // console and error events are recorded from here on.
      await page.evaluate(recordMessages);
      page.messages = [];
      return page;
    },
    async close() {
      await call("DELETE", session).catch(() => {});
      stop(child);
    },
  };
}

function recordMessages() {
  const heard = (window.tolvexHeard = []);
  addEventListener("error", (event) => heard.push(`uncaught: ${event.message}`));
  addEventListener("unhandledrejection", (event) => heard.push(`uncaught: ${event.reason}`));
  for (const level of ["log", "info", "warn", "error", "debug"]) {
    const original = console[level];
    console[level] = (...words) => {
      heard.push(`${level}: ${words.join(" ")}`);
      original.apply(console, words);
    };
  }
  return null;
}

// Two frames later: what the page last changed has been painted.
const painted = () =>
  new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(() => resolve(null))));

async function ready(page) {
  for (let tries = 0; tries < 600; tries++) {
    if (await page.evaluate(() => document.documentElement.dataset.ready === "true")) return page;
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  throw new Error("the page was not ready in 30 s");
}

// What a WebKit page recorded, added to its messages.
export async function heardMessages(page) {
  const heard = await page.evaluate(() => window.tolvexHeard ?? []);
  return [...page.messages, ...heard];
}

async function launchChromium(colorScheme) {
  const browser = await launch();
  return {
    name: "Chromium",
    async open(url, viewport) {
      const { page, messages } = await openPage(browser, url, { viewport, colorScheme });
      return { messages, evaluate: (fn, arg = null) => page.evaluate(fn, arg),
        screenshot: () => page.screenshot() };
    },
    close: () => browser.close(),
  };
}

const kLaunchers = { chromium: launchChromium, firefox: launchFirefox, webkit: launchWebKit };
export function launchEngine(name, { colorScheme = "light" } = {}) {
  return kLaunchers[name](colorScheme);
}
