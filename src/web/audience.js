// The audience page: mirrors the station's display record over /live.
"use strict";

const Q = {
  lines: [],   // the mirrored lines
  first: 0,    // record line number of lines[0]
  follow: true,
  retry: 0,
};

function lineElement(text) {
  const el = document.createElement("div");
  renderLine(el, text);
  return el;
}

const box = document.getElementById("lines");

function atEnd() {
  return box.scrollHeight - box.scrollTop - box.clientHeight < 8;
}

function scrollIfFollowing() {
  if (Q.follow) box.scrollTop = box.scrollHeight;
  document.getElementById("follow").hidden = Q.follow;
}

function snapshot(m) {
  Q.first = m.first;
  Q.lines = m.lines.slice();
  box.replaceChildren(...Q.lines.map(lineElement));
  scrollIfFollowing();
}

// Returns false when the change does not fit what we hold: then a fresh
// connection brings a fresh snapshot.
function change(m) {
  const at = m.first - Q.first;
  if (at < 0 || at + m.removed > Q.lines.length) return false;
  for (let i = 0; i < m.removed; ++i) box.children[at].remove();
  const before = box.children[at] || null;
  for (const text of m.lines) box.insertBefore(lineElement(text), before);
  Q.lines.splice(at, m.removed, ...m.lines);
  scrollIfFollowing();
  return true;
}

function connect() {
  const ws = new WebSocket((location.protocol === "https:" ? "wss://" : "ws://") + location.host + "/live");
  let timer = setTimeout(() => ws.close(), 10000);
  ws.onopen = () => { clearTimeout(timer); };
  ws.onmessage = (e) => {
    let m;
    try { m = JSON.parse(e.data); } catch (_) { return; }
    Q.retry = 0;
    document.getElementById("status").hidden = true;
    if (m.type === "snapshot") snapshot(m);
    else if (m.type === "change" && !change(m)) ws.close();
  };
  ws.onclose = () => {
    clearTimeout(timer);
    document.getElementById("status").hidden = false;
    const delay = Math.min(30000, 500 * 2 ** Q.retry) * (0.75 + Math.random() / 2);
    Q.retry = Math.min(Q.retry + 1, 10);
    setTimeout(connect, delay);
  };
}

function setting(name, fallback) {
  try { return localStorage.getItem("quorel." + name) || fallback; } catch (_) { return fallback; }
}
function keep(name, value) {
  try { localStorage.setItem("quorel." + name, value); } catch (_) { /* private mode */ }
}

function applySettings() {
  const size = document.getElementById("size").value;
  const spacing = document.getElementById("spacing").value;
  const theme = document.getElementById("theme").value;
  document.documentElement.style.setProperty("--size", size + "px");
  document.documentElement.style.setProperty("--spacing", spacing / 100);
  document.body.className = "theme-" + theme;
  keep("size", size); keep("spacing", spacing); keep("theme", theme);
  scrollIfFollowing();
}

document.getElementById("size").value = setting("size", "28");
document.getElementById("spacing").value = setting("spacing", "150");
document.getElementById("theme").value = setting("theme", "light");
for (const id of ["size", "spacing", "theme"])
  document.getElementById(id).addEventListener("input", applySettings);
applySettings();

box.addEventListener("scroll", () => {
  Q.follow = atEnd();
  document.getElementById("follow").hidden = Q.follow;
});
document.getElementById("follow").addEventListener("click", () => {
  Q.follow = true;
  scrollIfFollowing();
});

connect();
