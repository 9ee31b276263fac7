// The overlay for a streaming program's browser source: the last lines on a
// transparent background. Options come checked from the station.
"use strict";

const O = Object.assign({ lines: 2, size: 48, color: "#ffffff", outline: "#000000",
                          font: "sans-serif" }, window.QUOREL_OVERLAY || {});
const box = document.getElementById("lines");
box.style.fontSize = O.size + "px";
box.style.color = O.color;
box.style.fontFamily = O.font;
if (O.outline !== "none") {
  const w = Math.max(1, Math.round(O.size / 24)) + "px";
  box.style.textShadow = [`-${w} -${w}`, `${w} -${w}`, `-${w} ${w}`, `${w} ${w}`]
    .map((o) => `${o} 0 ${O.outline}`).join(", ");
}

let lines = [];
let first = 0;
let retry = 0;

function render() {
  // The last non-empty lines, as many as asked for.
  const shown = lines.filter((l) => l.length > 0).slice(-O.lines);
  box.replaceChildren(...shown.map((text) => {
    const el = document.createElement("div");
    renderLine(el, text);
    return el;
  }));
}

function connect() {
  const ws = new WebSocket("ws://" + location.host + "/live");
  ws.onmessage = (e) => {
    const m = JSON.parse(e.data);
    retry = 0;
    if (m.type === "snapshot") {
      first = m.first;
      lines = m.lines;
    } else if (m.type === "change") {
      const at = m.first - first;
      if (at < 0 || at + m.removed > lines.length) { ws.close(); return; }
      lines.splice(at, m.removed, ...m.lines);
    }
    render();
  };
  ws.onclose = () => {
    const delay = Math.min(30000, 500 * 2 ** retry) * (0.75 + Math.random() / 2);
    retry = Math.min(retry + 1, 10);
    setTimeout(connect, delay);
  };
}
connect();
