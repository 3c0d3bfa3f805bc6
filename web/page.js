// The Tolvex window as a page. It lays itself out from the window's
// description and hands every click to the field model and actions in
// WebAssembly; no number is read, computed or formatted here.
(function () {
  "use strict";

  // ---- the module: one call per click, every changed box in and out ----

  // The form in WebAssembly, by the order of the description's "fields": a
  // text for each box whose text is not what the module last gave it (null
  // for the others) goes in; a text for each box the action changed (null
  // elsewhere) comes back.
  function Form(module, fields, elements) {
    const boxes = fields.map((field) => elements.get(field.name));
    const given = boxes.map(() => null);
    function changed() {
      return boxes.map((box, i) => {
        if (box.value === given[i]) return null;
        given[i] = box.value;
        return box.value;
      });
    }
    function show(update) {
      update.texts.forEach((text, i) => {
        if (text === null) return;
        if (boxes[i].value !== text) boxes[i].value = text;
        given[i] = boxes[i].value;
      });
      return update;
    }
    return {
      startUp: () => show(module.startUp()),
      click: (button) => show(module.click(button, changed())),
    };
  }

  // ---- building the window from its description ----

  let twipsPerPixel = 15; // the description's

  function px(twips) {
    return twips / twipsPerPixel + "px";
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
    twipsPerPixel = description.twipsPerPixel;
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

  // The sizes to try come with the description, largest first; the last
  // one stays when none fits.
  function fitFont(frame, captions, sizes) {
    const fits = (points) => {
      frame.style.fontSize = points + "pt";
      return captionsFit(captions);
    };
    if (!sizes.some(fits)) frame.style.fontSize = sizes[sizes.length - 1] + "pt";
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
    const unitControl = byKind("unitList")[0];
    const unitInput = elements.get(unitControl.name);
    const indexOfText = (text) => description.units.indexOf(text);
    const units = UnitList(frame, unitInput, unitControl, description.units, indexOfText);
    fitFont(
      frame,
      [...byKind("label"), ...byKind("pushButton")].map((c) => elements.get(c.name)),
      description.captionFontPoints,
    );
    return { frame, elements, units };
  }

  function start(description, laidOut, module) {
    const { frame, elements, units } = laidOut;
    const form = Form(module, description.fields, elements);

    const dialog = document.getElementById("FailureDialog");
    document.getElementById("FailureTitle").textContent = description.caption;
    let focusBeforeDialog = null;
    dialog.addEventListener("close", () => {
      if (focusBeforeDialog) focusBeforeDialog.focus();
    });
    function reportFailure(words) {
      document.getElementById("FailureText").textContent = words;
      focusBeforeDialog = document.activeElement;
      dialog.showModal();
    }

    // What the action wrote stays, also after a failure.
    function run(button) {
      const update = form.click(button);
      units.showSelection();
      if (update.failure !== "") reportFailure(update.failure);
    }
    const calcInd = elements.get("CalcInd");
    for (const button of ["GO", "CalcInd"])
      elements.get(button).addEventListener("click", () => run(button));
    calcInd.classList.add("default");

    // Enter in a single-line box presses Calculate Inductance, the default
    // button; on a focused button the browser presses that button.
    for (const field of description.fields) {
      const box = elements.get(field.name);
      if (box.tagName !== "INPUT") continue;
      box.addEventListener("keydown", (event) => {
        if (event.key !== "Enter" || event.isComposing) return;
        event.preventDefault();
        calcInd.click();
      });
    }

    form.startUp();
    units.showSelection();
    frame.inert = false;
    frame.removeAttribute("aria-busy");
    elements.get(description.focusOrder[0]).focus();
    performance.mark("tolvex-ready");
    document.documentElement.dataset.ready = "true";
  }

  const compiling = TolvexModule();
  const description = JSON.parse(document.getElementById("WindowDescription").textContent);
  const laidOut = layOut(description);
  compiling.then((module) => start(description, laidOut, module));
})();
