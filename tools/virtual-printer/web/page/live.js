// live.js - the receipts arrive as server-sent events and show newest
// first; the printer's faults are set with POST /printer?NAME=VALUE, the
// names as on the command line.
'use strict';

const $ = (selector, root = document) => root.querySelector(selector);
const shown = new Map();  // receipt number -> its card
const stateText = { printing: 'printing…', cut: 'cut', ended: 'ended without a cut' };

function card(number) {
  let c = shown.get(number);
  if (c) return c;
  c = $('#receipt').content.firstElementChild.cloneNode(true);
  c.dataset.shown = 0;
  shown.set(number, c);
  $('#receipts').prepend(c);
  $('#empty').hidden = true;
  return c;
}

function showReceipt(r) {
  const c = card(r.number);
  const started = new Date(r.started);
  $('.number', c).textContent = `#${r.number}`;
  $('time', c).textContent = started.toLocaleTimeString();
  $('time', c).dateTime = started.toISOString();
  $('.link', c).textContent = r.link;
  $('.count', c).textContent = `${r.bytes.toLocaleString()} bytes`;
  $('.state', c).textContent = r.state === 'printing' && r.picture === 0 ? 'nothing on paper yet' : stateText[r.state];
  $('.download', c).href = `receipts/${r.number}.bin`;
  $('.download', c).download = `received-${r.number}.bin`;
  $('.file', c).textContent = r.file;
  $('.listing', c).textContent = r.listing.join('\n');
  c.dataset.state = r.state;
  c.dataset.picture = r.picture;
  if (r.picture > 0) showPicture(c, r);
}

// The new picture takes the old one's place once it is decoded, so that
// the paper never flickers; a late one never covers a newer one.
function showPicture(c, r) {
  const img = new Image();
  img.alt = 'the receipt as the paper shows it';
  img.src = `receipts/${r.number}.png?v=${r.picture}`;
  img.decode().then(() => {
    if (r.picture <= Number(c.dataset.shown)) return;
    c.dataset.shown = r.picture;
    $('.paper img', c).replaceWith(img);
  }, () => {});
}

function showPrinter(p) {
  const form = $('#printer');
  if (p.recording !== undefined) {
    $('#ports').textContent = `recording ${p.recording}`;
    return;
  }
  form.hidden = false;
  $('#ports').textContent = [p.serial && `${p.serial} (serial)`, p.usb && `USB on ${p.usb}`].filter(Boolean).join(' · ');
  for (const e of form.querySelectorAll('.serial')) e.hidden = !p.serial;
  for (const e of form.querySelectorAll('.usb')) e.hidden = !p.usb;
  $('#plug').hidden = !p.serial || p.lineUp;
  $('#line').textContent = p.lineUp ? '' : 'the line is hung up';
  $('#online').checked = p.faults.silent !== '1';
  $('#online-text').textContent = $('#online').checked ? 'on line' : 'off line: status requests go unanswered';
  document.body.dataset.online = $('#online').checked;
  for (const input of form.querySelectorAll('input:not([type=checkbox])')) {
    if (input !== document.activeElement) input.value = p.faults[input.name] ?? '';
  }
}

async function setFault(name, value) {
  const said = $('#said');
  try {
    const answer = await fetch(`printer?${new URLSearchParams({ [name]: value })}`, { method: 'POST' });
    said.textContent = answer.ok ? '' : await answer.text();
  } catch {
    said.textContent = 'the virtual printer does not answer';
  }
}

$('#printer').addEventListener('submit', (e) => e.preventDefault());
$('#printer').addEventListener('change', (e) => {
  const input = e.target;
  setFault(input.name, input.type === 'checkbox' ? (input.checked ? '0' : '1') : input.value.trim());
});
$('#plug').addEventListener('click', () => setFault('hang-up-after', ''));

// Every stream begins with everything: a printer started again numbers
// its receipts from 1 again.
const events = new EventSource('events');
events.addEventListener('open', () => {
  shown.clear();
  $('#receipts').replaceChildren();
  $('#empty').hidden = false;
  $('#stream').textContent = 'live';
  $('#stream').className = 'live';
});
events.addEventListener('error', () => {
  $('#stream').textContent = 'the virtual printer is not there; trying again…';
  $('#stream').className = '';
});
events.addEventListener('receipt', (e) => showReceipt(JSON.parse(e.data)));
events.addEventListener('printer', (e) => showPrinter(JSON.parse(e.data)));
