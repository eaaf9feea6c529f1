'use strict';
// The workbench page: everything it shows comes from the session behind the server,
// everything it does is an action the session runs as one of its statements.
const token = new URLSearchParams(location.search).get('token') || '';
const $ = (id) => document.getElementById(id);
const expanded = new Set();     // tree paths shown open
let state = { generation: 0, waiting: '', dialogs: [] };
let inspected = '';

function el(tag, attrs = {}, ...children) {
  const e = document.createElement(tag);
  for (const [k, v] of Object.entries(attrs)) {
    if (k === 'class') e.className = v;
    else if (k.startsWith('on')) e.addEventListener(k.slice(2), v);
    else if (v !== false && v !== undefined) e.setAttribute(k, v === true ? '' : v);
  }
  for (const c of children) if (c !== null && c !== undefined) e.append(c);
  return e;
}

async function api(path, body) {
  const opts = { headers: { 'X-Mirt-Token': token } };
  if (body !== undefined) {
    opts.method = 'POST';
    opts.headers['Content-Type'] = 'application/json';
    opts.body = JSON.stringify(body);
  }
  const res = await fetch(path, opts);
  const json = await res.json().catch(() => ({ error: res.statusText }));
  if (!res.ok) throw new Error(json.error || String(res.status));
  return json;
}

function showError(text) {
  const box = $('error');
  box.textContent = text;
  box.hidden = false;
  clearTimeout(showError.timer);
  showError.timer = setTimeout(() => { box.hidden = true; }, 6000);
}

async function act(action) {
  const started = performance.now();
  try {
    await api('/api/action', action);
  } catch (e) {
    showError(e.message);
  }
  window.lastActionMs = performance.now() - started;
  await refresh();
}

// ---------------------------------------------------------------- tree
const q = (s) => encodeURIComponent(s);

async function loadChildren(path, container, offset = 0) {
  const page = await api(`/api/tree?path=${q(path)}&offset=${offset}&limit=200`);
  for (const n of page.nodes) container.append(treeNode(n));
  const shown = offset + page.nodes.length;
  if (shown < page.total)
    container.append(el('div', { class: 'more', onclick: (e) => { e.target.remove(); loadChildren(path, container, shown); } },
                        `${page.total - shown} more…`));
}

function treeNode(n) {
  const wrap = el('div', { role: 'treeitem', 'data-path': n.path });
  const twist = el('span', { class: 'twist' }, n.children ? (expanded.has(n.path) ? '▾' : '▸') : '');
  const label = el('span', { class: `node kind-${n.kind}` + (n.selected ? ' selected' : '') + (n.highlighted ? ' highlighted' : ''),
                             title: n.path }, twist, n.text);
  const kids = el('div', { class: 'children' });
  twist.addEventListener('click', async (e) => {
    e.stopPropagation();
    if (expanded.has(n.path)) { expanded.delete(n.path); kids.replaceChildren(); twist.textContent = '▸'; return; }
    expanded.add(n.path);
    twist.textContent = '▾';
    await loadChildren(n.path, kids);
  });
  label.addEventListener('click', () => clickObject(n.path));
  wrap.append(label, kids);
  if (n.children && expanded.has(n.path)) loadChildren(n.path, kids);
  return wrap;
}

// A click is a pick while a command waits for one, a selection otherwise.
async function clickObject(path) {
  if (state.waiting.startsWith('pick')) await act({ action: 'pick', path });
  else {
    await act({ action: 'clear-selection' });
    await act({ action: 'select', path });
  }
  inspect(path);
}

async function inspect(path) {
  inspected = path;
  try {
    $('inspector').textContent = (await api(`/api/object?path=${q(path)}`)).text;
  } catch (e) {
    $('inspector').textContent = e.message;
  }
}

async function redrawTree() {
  const tree = $('tree');
  const fresh = el('div');
  await loadChildren('', fresh);
  tree.replaceChildren(...fresh.childNodes);
}

let searchTimer;
$('search').addEventListener('input', (e) => {
  clearTimeout(searchTimer);
  const text = e.target.value.trim();
  searchTimer = setTimeout(async () => {
    const hits = $('hits');
    if (!text) return hits.replaceChildren();
    const found = await api(`/api/search?q=${q(text)}&limit=50`).catch((err) => ({ nodes: [], error: err.message }));
    hits.replaceChildren(...found.nodes.map((n) => el('div', { class: `node kind-${n.kind}`, title: n.path, onclick: () => clickObject(n.path) },
                                                       n.path)));
  }, 200);
});

// ---------------------------------------------------------------- toolbars
// The workbench's toolbars, then every command of the program (most are on no toolbar).
let commandChoice = '';
async function drawToolbars() {
  const wb = await api('/api/workbench');
  const pick = el('select', { id: 'commands', 'aria-label': 'Command', onchange: (e) => { commandChoice = e.target.value; } },
                  ...wb.commands.map((c) => el('option', { value: `${c.module} ${c.class}`, selected: `${c.module} ${c.class}` === commandChoice },
                                               c.class)));
  if (!commandChoice && wb.commands.length) commandChoice = pick.value;
  const start = el('button', { id: 'start', onclick: () => {
    const [module, cls] = commandChoice.split(' ');
    act({ action: 'start', module, class: cls });
  } }, 'Start');
  const fire = (h) => el('button', { disabled: !h.available, title: h.help || h.title, 'data-header': h.id,
                                     onclick: () => act({ action: 'fire', header: h.id }) }, h.title);
  // The host's menus (INSERT, TOOLS) with their submenus nested, as drop-downs.
  const menus = new Map(wb.menus.map((m) => [m.name, m]));
  const menu = (m) => el('details', { class: 'menu' }, el('summary', {}, m.name),
    el('div', { class: 'entries' }, ...m.entries.map((e) => (e.submenu ? (menus.has(e.submenu) ? menu(menus.get(e.submenu)) : null) : fire(e)))));
  $('toolbars').replaceChildren(...wb.menus.filter((m) => !m.parent).map(menu),
    ...wb.toolbars.map((t) => el('div', { class: 'toolbar' }, el('span', {}, t.name), ...t.headers.map(fire))),
    el('div', { class: 'toolbar' }, el('span', {}, 'Commands'), pick, start));
}

// ---------------------------------------------------------------- dialogs
// A widget is addressed as DIALOG.WIDGET, or through its frames when its name repeats.
function addresses(dialog) {
  const count = {};
  const walk = (w) => { count[w.name] = (count[w.name] || 0) + 1; w.children.forEach(walk); };
  dialog.children.forEach(walk);
  const out = new Map();
  const name = (w, frames) => out.set(w, dialog.name + '.' + (count[w.name] > 1 ? [...frames, w.name].join('.') : w.name));
  const visit = (w, frames) => { name(w, frames); w.children.forEach((c) => visit(c, w.kind === 'frame' ? [...frames, w.name] : frames)); };
  dialog.children.forEach((c) => visit(c, []));
  return out;
}

function widget(w, addr) {
  const id = addr.get(w);
  const off = !w.sensitive;
  const set = (value) => act({ action: 'set', widget: id, value: String(value) });
  const kids = () => w.children.filter((c) => c.visible).map((c) => widget(c, addr));
  let e;
  switch (w.kind) {
    case 'frame': e = el('fieldset', {}, el('legend', {}, w.title), ...kids()); break;
    case 'label': e = el('span', {}, w.title); break;
    case 'push': e = el('button', { class: 'w-push', disabled: off, onclick: () => act({ action: 'push', widget: id }) }, w.title); break;
    case 'check': case 'radio':
      e = el('label', {}, el('input', { type: w.kind === 'check' ? 'checkbox' : 'radio', checked: w.value === 'checked', disabled: off,
                                        onchange: (ev) => set(ev.target.checked ? 'checked' : 'unchecked') }), ' ', w.title);
      break;
    case 'editor': case 'spinner':
      e = el('label', {}, w.title ? w.title + ' ' : '', el('input', { type: w.kind === 'spinner' ? 'number' : 'text', value: w.value,
                                                                        disabled: off, onchange: (ev) => set(ev.target.value) }));
      break;
    case 'combo':
      e = el('select', { disabled: off, onchange: (ev) => set(ev.target.value) },
             ...w.rows.map((r, i) => el('option', { value: i, selected: w.selected.includes(i) }, r[0])));
      break;
    case 'multilist':
      e = el('table', { class: 'multilist' }, el('tr', {}, ...w.columns.map((c) => el('th', {}, c))),
             ...w.rows.map((r, i) => el('tr', { class: w.selected.includes(i) ? 'chosen' : '', onclick: () => !off && set(i) },
                                        ...r.map((c) => el('td', {}, c)))));
      break;
    case 'tabs': {
      const pages = w.children.filter((c) => c.visible);
      const current = pages.find((p) => p.name === w.value) || pages[0];
      e = el('div', { class: 'tabs' }, el('div', {}, ...pages.map((p) => el('button', { class: p === current ? 'on' : '',
                                                                                     onclick: () => set(p.name) }, p.title || p.name))),
             current ? el('div', {}, ...current.children.filter((c) => c.visible).map((c) => widget(c, addr))) : null);
      break;
    }
    default:
      if (w.rows) {
        e = el('ul', { class: 'lines' }, ...w.rows.map((r, i) => el('li', { class: w.selected.includes(i) ? 'chosen' : '',
                                                                       onclick: () => !off && set(i) }, r[0])));
      } else {
        e = el('div', {}, w.title || w.name, w.value ? ': ' + w.value : '', ...kids());
      }
  }
  const wrap = el('div', { class: `w w-${w.kind}` + (off ? ' insensitive' : ''), 'data-widget': id, title: w.tooltip || w.help || '' }, e);
  return wrap;
}

function drawDialogs() {
  const boxes = [];
  let modal = null;
  for (const d of state.dialogs) {
    if (d.kind === 'notify' || d.kind === 'filebox') modal = d;
    else {
      const addr = addresses(d);
      boxes.push(el('div', { class: 'dialog', 'data-dialog': d.name }, el('div', { class: 'title' }, d.title || d.name),
                    el('div', { class: 'body' }, ...d.children.filter((c) => c.visible).map((c) => widget(c, addr)))));
    }
  }
  $('dialogs').replaceChildren(...boxes);
  // A box the command waits on comes first: nothing else runs until it is answered.
  drawModal(state.blocked ? { ...state.blocked, kind: 'blocked' } : modal);
}

async function drawModal(d) {
  const m = $('modal');
  if (!d) { m.hidden = true; m.replaceChildren(); return; }
  const box = el('div', { class: 'box', 'data-dialog': d.name }, el('h3', {}, d.title || d.name));
  if (d.kind === 'blocked') {
    box.append(el('p', { class: `msg-${d.level}` }, d.text),
               ...['ok', 'yes', 'no', 'cancel'].map((a) => el('button', { 'data-answer': a, onclick: () => act({ action: 'answer', answer: a }) },
                                                             a[0].toUpperCase() + a.slice(1))));
  } else if (d.kind === 'notify') {
    box.append(el('p', { class: `msg-${d.level}` }, d.text),
               el('button', { onclick: () => act({ action: 'notify', widget: d.name, notification: 'ok' }) }, 'OK'));
  } else {
    const folder = el('select', {}, el('option', { value: 'plant' }, 'plant folder'), el('option', { value: 'output' }, 'output folder'));
    const name = el('input', { type: 'text', placeholder: 'file name' });
    const list = el('ul', { class: 'lines' });
    const fill = async () => {
      const files = await api(`/api/files?folder=${folder.value}`).catch(() => ({ files: [] }));
      list.replaceChildren(...files.files.map((f) => el('li', { onclick: () => { name.value = f; } }, f)));
    };
    folder.addEventListener('change', fill);
    fill();
    box.append(folder, list, name,
               el('button', { onclick: () => act({ action: 'answer', answer: folder.value === 'output' ? 'file' : 'open', folder: folder.value, name: name.value }) }, 'OK'),
               el('button', { onclick: () => act({ action: 'answer', answer: 'cancel' }) }, 'Cancel'));
  }
  m.replaceChildren(box);
  m.hidden = false;
}

// ---------------------------------------------------------------- the rest
async function drawDownloads() {
  const files = await api('/api/files?folder=output').catch(() => ({ files: [] }));
  $('downloads').replaceChildren(...files.files.map((f) => el('li', {}, el('a', { href: `/api/download?name=${q(f)}&token=${q(token)}` }, f))));
}

async function refresh() {
  state = await api('/api/state');
  $('plant').textContent = (state.plant || 'no plant') + (state.modified ? ' *' : '');
  $('undo').disabled = !state.canUndo;
  $('redo').disabled = !state.canRedo;
  $('command').textContent = state.command ? `${state.command}${state.waiting ? ' (' + state.waiting + ')' : ''}` : '';
  $('status').textContent = state.status;
  $('output').textContent = state.output;
  $('messages').replaceChildren(...state.messages.map((m) => el('li', { class: `msg-${m.kind}` }, `${m.title}: ${m.text}` + (m.answer ? ` → ${m.answer}` : ''))));
  drawDialogs();
  // The graph windows the session opened, redrawn with every change.
  $('windows').replaceChildren(...(state.windows || []).filter((w) => w.picture).map((w) =>
    el('figure', { 'data-window': w.name }, el('figcaption', {}, w.name),
       el('img', { alt: w.name, src: `/api/window?name=${q(w.name)}&token=${q(token)}&g=${state.generation}` }))));
  await Promise.all([redrawTree(), drawToolbars(), drawDownloads(), inspected ? inspect(inspected) : null]);
  document.body.dataset.generation = state.generation;
}

$('open').addEventListener('click', async () => {
  const files = await api('/api/files?folder=plant').catch(() => ({ files: [] }));
  const m = $('modal');
  const close = () => { m.hidden = true; m.replaceChildren(); };
  m.replaceChildren(el('div', { class: 'box' }, el('h3', {}, 'Open a plant'),
    el('ul', { class: 'lines' }, ...files.files.filter((f) => f.endsWith('.xml'))
      .map((f) => el('li', { onclick: () => { close(); act({ action: 'open', folder: 'plant', name: f }); } }, f))),
    el('button', { onclick: close }, 'Cancel')));
  m.hidden = false;
});
$('undo').addEventListener('click', () => act({ action: 'undo' }));
$('redo').addEventListener('click', () => act({ action: 'redo' }));
$('save').addEventListener('click', () => act({ action: 'save' }));

// Changes made elsewhere (another tab) arrive as events; a dropped stream reconnects
// by itself and the page redraws what it missed.
function listen() {
  const events = new EventSource(`/api/events?token=${q(token)}`);
  events.onmessage = (e) => {
    const g = JSON.parse(e.data).generation;
    if (g !== state.generation) refresh();
  };
}

(async () => {
  const t0 = performance.now();
  await refresh();
  window.firstPaintMs = performance.now() - t0;
  document.body.dataset.ready = '1';
  listen();
})().catch((e) => showError(e.message));
