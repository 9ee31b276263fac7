// Shared by the audience page and the overlay.
"use strict";

// Ruby marks: "`r" reading "`s" before a word. The reading is shown small and
// raised before the word; the word itself is ordinary text.
function renderLine(el, text) {
  el.textContent = "";
  let at = 0;
  while (at < text.length) {
    const open = text.indexOf("`r", at);
    const close = open < 0 ? -1 : text.indexOf("`s", open + 2);
    if (open < 0 || close < 0) {
      el.append(text.slice(at));
      break;
    }
    if (open > at) el.append(text.slice(at, open));
    const r = document.createElement("span");
    r.className = "reading";
    r.textContent = text.slice(open + 2, close);
    el.append(r);
    at = close + 2;
  }
}
