// ESLint for the page's script, its tests and the page benchmark, run from
// the repository's root: npm run lint (or scripts/tidy.sh).
import js from "@eslint/js";

const browser = Object.fromEntries(
  ["window", "document", "performance", "getComputedStyle", "Event", "localStorage",
    "sessionStorage", "requestAnimationFrame", "axe", "matchMedia", "navigator", "caches"]
    .map((name) => [name, "readonly"]),
);
const worker = Object.fromEntries(
  ["self", "caches", "fetch", "Request", "URL"].map((name) => [name, "readonly"]),
);
const node = Object.fromEntries(
  ["process", "console", "setTimeout", "URL"].map((name) => [name, "readonly"]),
);

export default [
  { ignores: ["**/node_modules/**", "build*/**"] },
  js.configs.recommended,
  {
    // The page's script: parts of one function scope, joined at build time.
    files: ["web/**/*.js"],
    languageOptions: { ecmaVersion: 2022, sourceType: "script", globals: browser },
    rules: { strict: ["error", "never"] },
  },
  {
    // The served site's service worker: a script of its own, in the worker's scope.
    files: ["web/site/sw.js"],
    languageOptions: { ecmaVersion: 2022, sourceType: "script", globals: worker },
  },
  {
    // Node scripts; what they hand to page.evaluate runs in the page.
    files: ["tests/web/**/*.mjs", "tests/web/**/*.js", "bench/**/*.mjs"],
    languageOptions: { ecmaVersion: 2022, sourceType: "module", globals: { ...node, ...browser } },
  },
  {
    rules: {
      "no-unused-vars": ["error", { args: "after-used" }],
      eqeqeq: "error",
      "no-var": "error",
      "prefer-const": "error",
    },
  },
];
