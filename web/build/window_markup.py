"""The window as HTML, written at build time from its description (the JSON
that describe_window prints, with the start-up's texts): every control's
element with its start-up text, in tab order, and a style rule per control
with both of its places as custom properties (the window's, in CSS pixels,
and the column's grid row and columns), which the frame's class picks
between. The page's script then creates nothing; it finds these elements.
"""

from html import escape

# Element ids the page's script looks up beside the controls' own.
UNIT_BOX = "{}Box"
UNIT_OPTIONS = "{}Options"
UNIT_OPTION = "{}Option{}"


def attribute(text):
    return escape(text, quote=True)


def number(value):
    return str(int(value)) if value == int(value) else repr(value)


def pixels(twips, twips_per_pixel):
    return number(twips / twips_per_pixel) + "px"


# ---- the column for narrow screens ----


def column_places(description):
    """Rows of the column, read off the window: its left half, its right half
    (the line leads it), then what lies below both. A label stands in the first
    column beside the field it names; the unit list stays beside the box on
    its line; everything else spans the width. Gives each control's (row,
    grid columns) and the number of rows."""
    controls = description["controls"]
    line = next(c for c in controls if c["kind"] == "line")
    by_name = {c["name"]: c for c in controls}

    def section(c):
        if c["top"] >= line["top"] + line["height"]:
            return 2
        return 0 if c["left"] < line["left"] else 1

    def anchor(c):
        return by_name[c["labelFor"]] if c["labelFor"] else c

    def key(c):
        a = anchor(c)
        return (section(a), a["top"], 0 if c["labelFor"] else 1, a["left"])

    places = {}
    row = 0
    previous = None
    for control in sorted(controls, key=key):
        named = previous is not None and previous["labelFor"] == control["name"]
        beside_box = (
            control["kind"] == "unitList"
            and previous is not None
            and previous["kind"] == "textBox"
            and previous["top"] == control["top"]
            and section(previous) == section(control)
        )
        if named:
            places[control["name"]] = [row, "2 / -1"]
        elif beside_box:
            place = places[previous["name"]]
            place[1] = "2" if place[1] == "2 / -1" else "1 / 3"
            places[control["name"]] = [row, "3"]
        else:
            row += 1
            places[control["name"]] = [row, "1" if control["labelFor"] else "1 / -1"]
        previous = control
    return {name: tuple(place) for name, place in places.items()}, row


# ---- the elements ----


def start_up_texts(description):
    texts = {}
    selected = -1
    for change in description["startUp"]["changes"]:
        texts[change["field"]] = change["text"]
        selected = change.get("listIndex", selected)
    return texts, selected


def text_box(control, text, extra=""):
    return (
        f'<input type="text" id="{control["name"]}" autocomplete="off" spellcheck="false"'
        f' autocapitalize="off"{extra} value="{attribute(text)}">'
    )


def unit_list(control, text, units, selected):
    name = control["name"]
    options = UNIT_OPTIONS.format(name)
    box = text_box(
        control,
        text,
        f' class="unit-list" role="combobox" aria-autocomplete="none"'
        f' aria-controls="{options}" aria-expanded="false"',
    )
    items = "".join(
        f'<li id="{UNIT_OPTION.format(name, i)}" role="option"'
        f' aria-selected="{"true" if i == selected else "false"}">{escape(unit)}</li>'
        for i, unit in enumerate(units)
    )
    return (
        f'<div class="unit-box" id="{UNIT_BOX.format(name)}">{box}'
        '<button type="button" class="unit-toggle" tabindex="-1"'
        ' aria-label="Show the units">\u25be</button>'
        f'<ul class="unit-options" id="{options}" role="listbox" hidden>{items}</ul></div>'
    )


def label(control):
    tag = "label" if control["labelFor"] else "div"
    target = f' for="{control["labelFor"]}"' if control["labelFor"] else ""
    role = "" if control["role"] == "plain" else " " + control["role"]
    return (
        f'<{tag} id="{control["name"]}"{target} class="label {control["alignment"]}{role}">'
        f"{escape(control['text'])}</{tag}>"
    )


def element(control, description, texts, selected):
    kind = control["kind"]
    name = control["name"]
    text = texts.get(name, "")
    if kind == "textBox":
        markup = text_box(control, text)
    elif kind == "unitList":
        markup = unit_list(control, text, description["units"], selected)
    elif kind == "multiLineTextBox":
        markup = (
            f'<textarea id="{name}" wrap="soft" spellcheck="false" autocomplete="off">'
            f"{escape(text)}</textarea>"
        )
    elif kind == "pushButton":
        mark = ' class="default"' if name == description["defaultButton"] else ""
        markup = f'<button type="button" id="{name}"{mark}>{escape(control["text"])}</button>'
    elif kind == "label":
        markup = label(control)
    elif kind == "line":
        markup = (
            f'<div id="{name}" class="line" role="separator" aria-orientation="vertical"></div>'
        )
    else:
        raise ValueError(f"{name}: no element for the kind {kind}")
    if control["accessibleName"]:
        markup = markup.replace(
            f'id="{name}"', f'id="{name}" aria-label="{attribute(control["accessibleName"])}"', 1
        )
    if name == description["focusOrder"][0]:
        markup = markup.replace(f'id="{name}"', f'id="{name}" autofocus', 1)
    return markup


def window_html(description):
    """The frame with every control: the focusable ones in tab order (focus
    follows the document), then the rest."""
    texts, selected = start_up_texts(description)
    order = list(description["focusOrder"])
    order += [c["name"] for c in description["controls"] if c["name"] not in order]
    by_name = {c["name"]: c for c in description["controls"]}
    caption = description["caption"]
    parts = [
        f'<main id="{description["name"]}" class="window" aria-label="{attribute(caption)}"'
        f' aria-busy="true"><h1 class="caption">{escape(caption)}</h1>'
    ]
    parts += [element(by_name[name], description, texts, selected) for name in order]
    return "\n".join(parts) + "</main>"


# ---- the places ----

# The caption size the page paints with, the readable size and the frame's
# border are the description's.


def caption_pixels(description):
    return description["paintedCaptionPoints"] * 96 / 72


def readable_scale(description):
    return description["readablePixels"] / caption_pixels(description)


def readable_width(description):
    """The narrowest room (CSS pixels) that shows the window whole with its
    captions at the readable size; narrower rooms get the column."""
    border = description["frameBorderPixels"]
    width = description["clientWidth"] / description["twipsPerPixel"] + 2 * border
    return number(width * description["readablePixels"] / caption_pixels(description)) + "px"


def window_css(description):
    """A rule per control with both places, and the frame's: its sizes, its
    column's rows, and the first caption size, which the page paints with."""
    tpp = description["twipsPerPixel"]
    places, rows = column_places(description)
    rules = [
        f'#{description["name"]}{{--client-width:{pixels(description["clientWidth"], tpp)};'
        f'--client-height:{pixels(description["clientHeight"], tpp)};'
        f"--rows-above-last:{rows - 1};"
        f"--caption-font:{number(description['paintedCaptionPoints'])}pt;"
        f"--readable-scale:{number(readable_scale(description))}}}"
    ]
    for control in description["controls"]:
        name = control["name"]
        holder = UNIT_BOX.format(name) if control["kind"] == "unitList" else name
        row, columns = places[name]
        box = ";".join(
            f"--{side}:{pixels(control[side], tpp)}" for side in ("left", "top", "width", "height")
        )
        rules.append(f"#{holder}{{{box};--row:{row};--column:{columns}}}")
        if control["color"]:
            rules.append(f"#{name}{{color:rgb({', '.join(map(str, control['color']))})}}")
    return "\n".join(rules) + "\n"
