// The Tolvex window as a page. It lays itself out from the window's
// description and hands every click to the field model and actions in
// WebAssembly; no number is read, computed or formatted here.
(function () {
  "use strict";

  const kTwipsPerPixel = 15;
  const kSmallestFontPoints = 6;
  const encoder = new TextEncoder();
  const decoder = new TextDecoder();

  // ---- the module: texts cross as UTF-8 bytes in the module's memory ----

  function Core(module) {
    function withText(text, use) {
      const bytes = encoder.encode(text);
      const at = module._malloc(bytes.length + 1);
      module.HEAPU8.set(bytes, at);
      module.HEAPU8[at + bytes.length] = 0;
      try {
        return use(at, bytes.length);
      } finally {
        module._free(at);
      }
    }
    function textAt(at, length) {
      return decoder.decode(module.HEAPU8.subarray(at, at + length));
    }
    function cText(at) {
      let end = at;
      while (module.HEAPU8[end] !== 0) end++;
      return textAt(at, end - at);
    }
    return {
      setField: (name, text) =>
        withText(name, (n) => withText(text, (t, length) => module._tolvex_set_field(n, t, length))),
      field: (name) =>
        withText(name, (n) => {
          const at = module._tolvex_field(n);
          return textAt(at, module._tolvex_field_length());
        }),
      unitIndex: () => module._tolvex_unit_index(),
      formLoad: () => module._tolvex_form_load(),
      calcIndClick: () => module._tolvex_calc_ind_click() === 1,
      goClick: () => module._tolvex_go_click() === 1,
      failureMessage: () => cText(module._tolvex_failure_message()),
    };
  }

  // ---- building the window from its description ----

  function px(twips) {
    return twips / kTwipsPerPixel + "px";
  }

  function place(element, control) {
    element.style.left = px(control.left);
    element.style.top = px(control.top);
    element.style.width = px(control.width);
    element.style.height = px(control.height);
  }

  function makeTextBox() {
    const box = document.createElement("input");
    box.type = "text";
    box.autocomplete = "off";
    box.spellcheck = false;
    box.setAttribute("autocapitalize", "off");
    return box;
  }

  function makeResults() {
    const box = document.createElement("textarea");
    box.wrap = "soft";
    box.spellcheck = false;
    box.setAttribute("autocomplete", "off");
    return box;
  }

  function makeButton(control) {
    const button = document.createElement("button");
    button.type = "button";
    button.textContent = control.text;
    return button;
  }

  function makeLabel(control) {
    const label = document.createElement(control.labelFor ? "label" : "div");
    if (control.labelFor) label.htmlFor = control.labelFor;
    label.className = "label " + control.alignment;
    label.textContent = control.text;
    if (control.color) label.style.color = "rgb(" + control.color.join(", ") + ")";
    return label;
  }

  function makeLine(control) {
    const line = document.createElement("div");
    line.className = "line";
    line.setAttribute("role", "separator");
    line.setAttribute("aria-orientation", "vertical");
    return line;
  }

  const makers = {
    textBox: makeTextBox,
    multiLineTextBox: makeResults,
    pushButton: makeButton,
    label: makeLabel,
    unitList: makeTextBox,
    line: makeLine,
  };

  function buildWindow(frame, description) {
    document.title = description.caption;
    frame.setAttribute("aria-label", description.caption);
    frame.style.width = px(description.clientWidth);
    frame.style.height = px(description.clientHeight);
    const elements = new Map();
    for (const control of description.controls) {
      const element = makers[control.kind](control);
      element.id = control.name;
      place(element, control);
      if (control.kind === "line") element.style.width = "1px";
      if (control.accessibleName) element.setAttribute("aria-label", control.accessibleName);
      elements.set(control.name, element);
    }
    // Focus follows the document order: the focusable controls in tab order,
    // then the rest.
    for (const name of description.focusOrder) frame.append(elements.get(name));
    for (const [name, element] of elements)
      if (!description.focusOrder.includes(name)) frame.append(element);
    return elements;
  }

  // ---- the editable unit list: any text, or one of the items ----

  function UnitList(frame, input, control, items, indexOfText) {
    const toggle = document.createElement("button");
    toggle.type = "button";
    toggle.className = "unit-toggle";
    toggle.tabIndex = -1;
    toggle.textContent = "\u25be";
    toggle.setAttribute("aria-label", "Show the units");
    toggle.style.left = px(control.left + control.width);
    toggle.style.transform = "translateX(-100%)";
    toggle.style.top = px(control.top);
    toggle.style.height = px(control.height);

    const list = document.createElement("ul");
    list.className = "unit-options";
    list.id = control.name + "Options";
    list.setAttribute("role", "listbox");
    list.hidden = true;
    list.style.left = px(control.left);
    list.style.top = px(control.top + control.height);
    list.style.width = px(control.width);
    const options = items.map((item, index) => {
      const option = document.createElement("li");
      option.id = control.name + "Option" + index;
      option.setAttribute("role", "option");
      option.textContent = item;
      option.addEventListener("mousedown", (event) => {
        event.preventDefault(); // keep the focus in the text
        choose(index);
      });
      list.append(option);
      return option;
    });

    input.classList.add("unit-list");
    input.setAttribute("role", "combobox");
    input.setAttribute("aria-autocomplete", "none");
    input.setAttribute("aria-controls", list.id);
    input.setAttribute("aria-expanded", "false");
    frame.append(toggle, list);

    let highlighted = -1;
    function showSelection() {
      const selected = indexOfText(input.value);
      options.forEach((option, index) => {
        option.setAttribute("aria-selected", String(index === (list.hidden ? selected : highlighted)));
      });
    }
    function open() {
      list.hidden = false;
      input.setAttribute("aria-expanded", "true");
      highlighted = indexOfText(input.value);
      showSelection();
    }
    function close() {
      list.hidden = true;
      input.setAttribute("aria-expanded", "false");
      input.removeAttribute("aria-activedescendant");
      showSelection();
    }
    function choose(index) {
      input.value = items[index];
      input.dispatchEvent(new Event("input", { bubbles: true }));
      close();
      input.focus();
    }
    function move(step) {
      if (list.hidden) return open();
      highlighted = Math.min(items.length - 1, Math.max(0, highlighted + step));
      input.setAttribute("aria-activedescendant", options[highlighted].id);
      showSelection();
    }
    toggle.addEventListener("mousedown", (event) => event.preventDefault());
    toggle.addEventListener("click", () => {
      if (list.hidden) open();
      else close();
      input.focus();
    });
    input.addEventListener("input", showSelection);
    input.addEventListener("blur", close);
    input.addEventListener("keydown", (event) => {
      if (event.key === "ArrowDown" && event.altKey) {
        open();
      } else if (event.key === "ArrowDown") {
        move(1);
      } else if (event.key === "ArrowUp") {
        move(-1);
      } else if (event.key === "Escape" && !list.hidden) {
        close();
      } else if (event.key === "Enter" && !list.hidden && highlighted >= 0) {
        choose(highlighted);
      } else {
        return;
      }
      event.preventDefault();
      event.stopPropagation();
    });
    return { showSelection };
  }

  // ---- captions that fit their boxes, as on the desktop ----

  function captionsFit(captions) {
    return captions.every(
      (element) =>
        element.scrollHeight <= element.clientHeight && element.scrollWidth <= element.clientWidth,
    );
  }

  function fitFont(frame, captions) {
    let points = parseFloat(getComputedStyle(frame).fontSize) * 0.75;
    while (!captionsFit(captions) && points > kSmallestFontPoints) {
      points = Math.max(points - 0.5, kSmallestFontPoints);
      frame.style.fontSize = points + "pt";
    }
  }

  // ---- the window at work ----

  // The window is laid out from the description written into the page at
  // build time while the module compiles; it takes input once the module is
  // there.
  function layOut(description) {
    const frame = document.getElementById("Tolvex");
    frame.inert = true;
    const elements = buildWindow(frame, description);
    const byKind = (kind) => description.controls.filter((c) => c.kind === kind);
    const boxNames = description.controls
      .filter((c) => ["textBox", "multiLineTextBox", "unitList"].includes(c.kind))
      .map((c) => c.name);
    const unitControl = byKind("unitList")[0];
    const unitInput = elements.get(unitControl.name);
    const indexOfText = (text) => description.units.indexOf(text);
    const units = UnitList(frame, unitInput, unitControl, description.units, indexOfText);
    fitFont(frame, [
      ...byKind("label").map((c) => elements.get(c.name)),
      ...byKind("pushButton").map((c) => elements.get(c.name)),
    ]);
    return { frame, elements, boxNames, units };
  }

  function start(description, laidOut, core) {
    const { frame, elements, boxNames, units } = laidOut;

    // What each box was last given, so that a text the user left alone
    // keeps the exact text the model holds.
    const shown = new Map();
    function showFields() {
      for (const name of boxNames) {
        const text = core.field(name);
        const box = elements.get(name);
        if (box.value !== text) box.value = text;
        shown.set(name, box.value);
      }
      units.showSelection();
    }
    function takeFields() {
      for (const name of boxNames) {
        const box = elements.get(name);
        if (box.value !== shown.get(name)) core.setField(name, box.value);
      }
    }

    const dialog = document.getElementById("FailureDialog");
    document.getElementById("FailureTitle").textContent = description.caption;
    let focusBeforeDialog = null;
    dialog.addEventListener("close", () => {
      if (focusBeforeDialog) focusBeforeDialog.focus();
    });
    function reportFailure() {
      document.getElementById("FailureText").textContent = core.failureMessage();
      focusBeforeDialog = document.activeElement;
      dialog.showModal();
    }

    function run(click) {
      takeFields();
      const finished = click();
      showFields(); // what the action wrote stays, also after a failure
      if (!finished) reportFailure();
    }
    const calcInd = elements.get("CalcInd");
    elements.get("GO").addEventListener("click", () => run(core.goClick));
    calcInd.addEventListener("click", () => run(core.calcIndClick));
    calcInd.classList.add("default");

    // Enter in a single-line box presses Calculate Inductance, the default
    // button; on a focused button the browser presses that button.
    for (const name of boxNames) {
      const box = elements.get(name);
      if (box.tagName !== "INPUT") continue;
      box.addEventListener("keydown", (event) => {
        if (event.key !== "Enter" || event.isComposing) return;
        event.preventDefault();
        calcInd.click();
      });
    }

    core.formLoad();
    showFields();
    frame.inert = false;
    frame.removeAttribute("aria-busy");
    elements.get(description.focusOrder[0]).focus();
    performance.mark("tolvex-ready");
    document.documentElement.dataset.ready = "true";
  }

  const compiling = TolvexModule();
  const description = JSON.parse(document.getElementById("WindowDescription").textContent);
  const laidOut = layOut(description);
  compiling.then((module) => start(description, laidOut, Core(module)));
})();
