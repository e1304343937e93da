// The live page in Debian's Chromium: the sample receipt printed through the
// library shows with its listing and the pixels of its PNG file; "on line"
// switched off on the page makes the next TQ587_iImprimirTexto answer 0; and
// requests that are no page's get 4xx, never a crash.
//   node live-page.test.mjs VIRTUAL_PRINTER TQ587_TOOL SAMPLES_DIR SCREENSHOT
import assert from 'node:assert/strict';
import { execFile, spawn } from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';
import { chromium } from 'playwright-core';

const [printer, tool, samples, screenshot] = process.argv.slice(2);
setTimeout(() => { console.error('took longer than 100 s'); process.exit(1); }, 100000).unref();

// A folder with CONVERSOR.INI for COM1 at 115200; COM2..COM20 lead nowhere.
const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'tq587-live-'));
fs.mkdirSync(path.join(dir, 'dosdevices'));
for (let n = 2; n <= 20; ++n) fs.symlinkSync(`/nonexistent/com${n}`, path.join(dir, `dosdevices/com${n}`));
fs.copyFileSync(path.join(samples, 'logo.bmp'), path.join(dir, 'logo.bmp'));
fs.writeFileSync(path.join(dir, 'CONVERSOR.INI'), '[TQ587]\r\nPORTA = COM1\r\nVELOCIDADE = 115200\r\n' +
  'CODEPAGE_AUTOMATICO = 1\r\nENTERAUTOMATICO = 1\r\nMETODO_DE_COMUNICACAO = "SERIAL"\r\n');
const print = () => new Promise((resolve) => execFile(tool, ['text', `${samples}/receipt.txt`], { cwd: dir },
  (error, stdout) => resolve(stdout)));

const vp = spawn(printer, ['--dir', dir, '--speed', '115200', '--web', '0'], { stdio: ['ignore', 'pipe', 'inherit'] });
process.on('exit', () => vp.kill('SIGKILL'));  // when a check failed
let said = '';
const url = await new Promise((resolve, reject) => {
  vp.stdout.on('data', (d) => { said += d; const web = /^web (\S+)/m.exec(said); if (web) resolve(web[1]); });
  vp.on('exit', () => reject(new Error(`the virtual printer stopped: ${said}`)));
});
assert.match(said, /^web http:\/\/127\.0\.0\.1:\d+\/ \(this machine only/m);

// Raw requests, as no browser sends them, and the status of each answer.
const { port } = new URL(url);
const ask = (request) => new Promise((resolve) => {
  const host = /Host:/.test(request) ? '' : 'Host: 127.0.0.1\r\n';
  const s = net.connect(port, '127.0.0.1', () => s.write(`${request}\r\n${host}Connection: close\r\n\r\n`));
  s.once('data', (d) => { resolve(Number(/^HTTP\/1\.1 (\d+)/.exec(d)?.[1])); s.destroy(); });
});
const hostile = [
  [`GET /${'a'.repeat(5000)} HTTP/1.1`, 404],
  [`GET /${'a'.repeat(20000)} HTTP/1.1`, 414],
  ['GET /../../etc/passwd HTTP/1.1', 404],
  ['GET /%2e%2e/%2e%2e/etc/passwd HTTP/1.1', 404],
  ['GET /receipts/99.bin HTTP/1.1', 404],
  ['BREW / HTTP/1.1', 400],
  ['\x00\x01\xff', 400],
  ['GET / HTTP/1.1\r\nHost: rebound.example', 400],
  ['POST /printer?silent=1 HTTP/1.1\r\nOrigin: http://elsewhere.example\r\nContent-Length: 0', 403],
  ['POST /printer?hang-up-after=soon HTTP/1.1\r\nContent-Length: 0', 400],
];
for (const [request, status] of hostile) assert.equal(await ask(request), status, request.slice(0, 60));
// A page that goes away in the middle of its events, and a request cut short.
await new Promise((resolve) => {
  const s = net.connect(port, '127.0.0.1', () => s.write('GET /events HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n'));
  s.once('data', () => { s.destroy(); resolve(); });
});
await new Promise((resolve) => net.connect(port, '127.0.0.1', function () { this.end('GET /ev', resolve); }));

const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox', '--disable-gpu',
  '--disable-quic', '--no-first-run', '--disable-background-networking', '--disable-component-update', '--disable-sync'] });
const page = await browser.newPage({ viewport: { width: 1200, height: 900 }, locale: 'en-US' });
await page.goto(url);
await page.waitForSelector('#stream.live');
assert.match(await print(), /^TQ587_iImprimirTexto: 1 /);
await page.waitForFunction(() => {
  const cut = document.querySelector('.receipt[data-state="cut"]');
  return cut !== null && cut.dataset.shown === cut.dataset.picture;
});
const receipt = page.locator('.receipt[data-state="cut"]');
assert.match(await receipt.locator('h2').textContent(), /#1\s.*\sCOM1 at 115200 bit\/s\s+5,\d\d\d bytes\s+cut\s/s);
assert.match(await receipt.locator('.file').textContent(), /\/receipt-0001\.png: 512 x \d+ dots$/);
assert.match(await receipt.locator('.listing').textContent(), /^DLE EOT 1\nESC @\nESC t 16\n[^]*\nESC @\nGS V 66 0$/);

// The picture on the page, dot for dot against the file the printer wrote.
const file = fs.readFileSync(path.join(dir, 'receipt-0001.png')).toString('base64');
assert.deepEqual(await receipt.locator('.paper img').evaluate(async (img, png) => {
  const written = await createImageBitmap(new Blob([Uint8Array.from(atob(png), (c) => c.charCodeAt(0))]));
  const dots = (p, w, h) => { const g = new OffscreenCanvas(w, h).getContext('2d'); g.drawImage(p, 0, 0); return g.getImageData(0, 0, w, h).data; };
  const shown = dots(img, img.naturalWidth, img.naturalHeight), expected = dots(written, written.width, written.height);
  return [img.naturalWidth, img.naturalHeight === written.height, shown.every((v, k) => v === expected[k])];
}, file), [512, true, true]);

await page.locator('#online').uncheck();
await page.waitForSelector('body[data-online="false"]');
assert.match(await print(), /^TQ587_iImprimirTexto: 0 /);
// The status requests nobody answered, on top.
await page.waitForFunction(() => document.querySelector('.receipt .listing').textContent.includes('DLE EOT 1'));
await page.screenshot({ path: screenshot });
await browser.close();
vp.kill('SIGTERM');
assert.equal(await new Promise((resolve) => vp.on('exit', resolve)), 0);
fs.rmSync(dir, { recursive: true });
console.log(`live page: receipt, listing, pixels, off line and ${hostile.length} hostile requests; ${screenshot}`);
