// The WebAssembly module's bytes, written into the page as base64.

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
