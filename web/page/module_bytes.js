// The WebAssembly module, compiled from wherever the page carries it. The
// one-file page has its bytes written in as base64: a page opened from disk
// may fetch nothing. The site serves them as a file of its own, which the
// page's head has the browser fetch while the page is still parsed, so that
// the HTML stays small and its first paint does not wait for them.

// Decoded by the browser where it can (Uint8Array.fromBase64), else by atob
// and a copy; either way emscripten gets the bytes themselves and never
// fetches its own data: URL, which the page's policy forbids.
export function decodeBase64(text, fromBase64 = Uint8Array.fromBase64) {
  if (typeof fromBase64 === "function") return fromBase64.call(Uint8Array, text);
  const binary = atob(text);
  const bytes = new Uint8Array(binary.length);
  for (let i = 0; i < binary.length; i++) bytes[i] = binary.charCodeAt(i);
  return bytes;
}

// Compiled while it downloads where the host says it is WebAssembly (which
// streaming compilation requires), else once it has all come.
async function compileFile(address) {
  const response = await fetch(address);
  if (!response.ok) throw new Error(`${address}: HTTP ${response.status}`);
  const type = (response.headers.get("Content-Type") ?? "").split(";")[0].trim();
  if (type === "application/wasm") return WebAssembly.compileStreaming(response);
  return WebAssembly.compile(await response.arrayBuffer());
}

// The bytes stand last in the page, after its script: compiled once the
// parser has read them, so that neither holds the other back.
// (async, so that a failure of either is the promise's, not lost in a handler)
function compileWrittenBytes() {
  const compile = async () =>
    WebAssembly.compile(decodeBase64(document.getElementById("ModuleBytes").textContent));
  if (document.readyState !== "loading") return compile();
  return new Promise((resolve) =>
    document.addEventListener("DOMContentLoaded", () => resolve(compile()), { once: true }));
}

// The compiled module: from the file that the element ModuleFile names (its
// href), or else from the bytes written into the page.
export function compileModule() {
  const file = document.getElementById("ModuleFile");
  return file ? compileFile(file.href) : compileWrittenBytes();
}
