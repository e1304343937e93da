// peer.mjs - the same work done by an ESC/POS encoder library under Node:
// the 30-item receipt (its tags mapped to the encoder's calls) and the
// 512 x 800 picture that our bench prints, by threshold and by
// Floyd-Steinberg, its pixels already in memory. Prints one line per work:
// "NAME MEDIAN_US".
//   node peer.mjs RECEIPT_FILE ENCODER_MODULE_DIR PICTURE_BMP
import { readFileSync } from 'node:fs';
import { pathToFileURL } from 'node:url';
import { performance } from 'node:perf_hooks';

const [receiptFile, moduleDir, pictureFile] = process.argv.slice(2);
const { default: ReceiptPrinterEncoder } = await import(
  pathToFileURL(`${moduleDir}/@point-of-sale/receipt-printer-encoder/dist/receipt-printer-encoder.mjs`));
const receipt = readFileSync(receiptFile, 'latin1');

// Our mark-up as the encoder's calls: each tag a call, each run of text a text.
function printReceipt() {
  const e = new ReceiptPrinterEncoder({ language: 'esc-pos', columns: 42 });
  e.initialize();
  const parts = receipt.split(/(<[^>]*>)/);
  let barcode = null, qr = null, height = 60;
  for (const part of parts) {
    switch (part) {
      case '<ce>': e.align('center'); break;
      case '</ce>': e.newline(); e.align('left'); break;
      case '<b>': e.bold(true); break;
      case '</b>': e.bold(false); break;
      case '<s>': e.underline(true); break;
      case '</s>': e.underline(false); break;
      case '<da>': e.height(2); break;
      case '</da>': e.height(1); break;
      case '<altbarras>': height = -1; break;
      case '<ean13>': barcode = ''; break;
      case '</ean13>': e.barcode(barcode, 'ean13', height); barcode = null; break;
      case '<qrcode>': qr = ''; break;
      case '</qrcode>': e.qrcode(qr); qr = null; break;
      case '<gui>': e.cut(); break;
      case '</altbarras>': case '</gui>': case '': break;
      default:
        if (height === -1) height = parseInt(part, 10);
        else if (barcode !== null) barcode += part;
        else if (qr !== null) qr += part;
        else {
          const lines = part.split('\n');
          lines.forEach((line, i) => { if (i > 0) e.newline(); if (line) e.text(line); });
        }
    }
  }
  return e.encode();
}

// The pixels of a 24-bit BMP file (rows bottom up, blue first), as RGBA.
function readBmp(path) {
  const file = readFileSync(path);
  const offset = file.readUInt32LE(10), width = file.readInt32LE(18), height = file.readInt32LE(22);
  const stride = Math.ceil(width * 3 / 4) * 4;
  const data = new Uint8ClampedArray(width * height * 4);
  for (let y = 0; y < height; ++y) {
    for (let x = 0; x < width; ++x) {
      const p = offset + (height - 1 - y) * stride + 3 * x, i = 4 * (y * width + x);
      data[i] = file[p + 2];
      data[i + 1] = file[p + 1];
      data[i + 2] = file[p];
      data[i + 3] = 255;
    }
  }
  return { data, width, height };
}

function median(work, runs) {
  for (let i = 0; i < 20; ++i) work();
  const times = [];
  for (let i = 0; i < runs; ++i) {
    const start = performance.now();
    work();
    times.push((performance.now() - start) * 1000);
  }
  times.sort((a, b) => a - b);
  return times[Math.floor(times.length / 2)];
}

const image = readBmp(pictureFile);
const withImage = (algorithm) => () =>
  new ReceiptPrinterEncoder({ language: 'esc-pos' }).initialize()
    .image(image, image.width, image.height, algorithm).encode();

console.log(`receipt-30-items ${median(printReceipt, 2000).toFixed(1)}`);
console.log(`threshold-512x800 ${median(withImage('threshold'), 100).toFixed(1)}`);
console.log(`dither-512x800 ${median(withImage('floydsteinberg'), 100).toFixed(1)}`);
