// ESLint for the page's script, its tests and the page benchmark, run from
// the repository's root: npm run lint (or scripts/tidy.sh).
import js from "@eslint/js";
import globals from "globals";

export default [
  { ignores: ["**/node_modules/**", "build*/**"] },
  js.configs.recommended,
  {
    // The page's script: ES modules that esbuild bundles into one.
    files: ["web/**/*.js"],
    languageOptions: { ecmaVersion: 2022, sourceType: "module", globals: globals.browser },
  },
  {
    // The served site's service worker: a script of its own, in the worker's scope.
    files: ["web/site/sw.js"],
    languageOptions: { ecmaVersion: 2022, sourceType: "script", globals: globals.serviceworker },
  },
  {
    // Node scripts; what they hand to page.evaluate runs in the page.
    files: ["tests/web/**/*.mjs", "tests/web/**/*.js", "bench/**/*.mjs"],
    languageOptions: {
      ecmaVersion: 2022,
      sourceType: "module",
      globals: { ...globals.node, ...globals.browser },
    },
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
