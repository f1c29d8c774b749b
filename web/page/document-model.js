// The rich-text document as the core hands it over and takes it back: one
// Uint16Array laid out as the core's RtfModelCodec.h describes (formats in a
// table at the front, paragraphs of runs that name their format by index).
// This module only lays the units out; reading and writing RTF is the core's.
//
// A document here: { defaultTabTwips, page, defaultFont, fonts: Map,
// colours: [colour|null], formats: [format], blocks: [block] }, with
//   format = { font, halfPoints, bold, italic, underline, strike,
//              alignment: '' | 'super' | 'sub', foreground, highlight }
//   colour = { red, green, blue } (null: automatic, or no highlight)
//   block  = { paragraph } | { table: [[[paragraph]]] } (rows of cells)
//   paragraph = { ended, mark: format index, runs: [{ format: index, text }] }

const VERSION = 1;
const FLAGS = { bold: 1, italic: 2, underline: 4, strike: 8 };
const SUPERSCRIPT = 16;
const SUBSCRIPT = 32;

// Every text of the document is cut from one string made of all its units
// at once: far quicker than a string made per run.
function AllText(units) {
  let text = '';
  for (let from = 0; from < units.length; from += 8192) {
    text += String.fromCharCode.apply(null, units.subarray(from, from + 8192));
  }
  return text;
}

class Reader {
  constructor(units) {
    this.units = units;
    this.all = AllText(units);
    this.at = 0;
  }

  unit() {
    if (this.at >= this.units.length) throw new RangeError('document cut short');
    return this.units[this.at++];
  }

  number() {
    const high = this.unit();
    return ((high << 16) | this.unit()) | 0;
  }

  text() {
    const length = this.number();
    const end = this.at + length;
    if (length < 0 || end > this.units.length) throw new RangeError('document cut short');
    const text = this.all.slice(this.at, end);
    this.at = end;
    return text;
  }

  colour() {
    const given = this.unit() !== 0;
    const colour = { red: this.unit(), green: this.unit(), blue: this.unit() };
    return given ? colour : null;
  }

  list(read) {
    const items = new Array(this.number());
    for (let i = 0; i < items.length; i++) items[i] = read();
    return items;
  }

  format() {
    const font = this.text();
    const halfPoints = this.number();
    const flags = this.unit();
    const format = { font, halfPoints };
    for (const [name, bit] of Object.entries(FLAGS)) format[name] = (flags & bit) !== 0;
    format.alignment = flags & SUPERSCRIPT ? 'super' : flags & SUBSCRIPT ? 'sub' : '';
    format.foreground = this.colour();
    format.highlight = this.colour();
    return format;
  }

  paragraph() {
    const ended = this.unit() !== 0;
    const mark = this.number();
    const runs = this.list(() => ({ format: this.number(), text: this.text() }));
    return { ended, mark, runs };
  }

  block() {
    const kind = this.unit();
    if (kind === 0) return { paragraph: this.paragraph() };
    return { table: this.list(() => this.list(() => this.list(() => this.paragraph()))) };
  }
}

export function DecodeDocument(units) {
  const reader = new Reader(units);
  if (reader.unit() !== VERSION) throw new RangeError('unknown document version');
  const hasTab = reader.unit() !== 0;
  const tab = reader.number();
  const hasPage = reader.unit() !== 0;
  const [widthTwips, heightTwips, leftTwips, rightTwips, topTwips, bottomTwips] =
    Array.from({ length: 6 }, () => reader.number());
  const defaultFont = reader.number();
  const fonts = new Map(reader.list(() => [reader.number(), reader.text()]));
  const colours = reader.list(() => reader.colour());
  const formats = reader.list(() => reader.format());
  const blocks = reader.list(() => reader.block());
  return {
    defaultTabTwips: hasTab ? tab : null,
    page: hasPage ? { widthTwips, heightTwips, leftTwips, rightTwips, topTwips, bottomTwips } : null,
    defaultFont, fonts, colours, formats, blocks,
  };
}

class Writer {
  constructor() {
    this.units = [];
  }

  unit(value) {
    this.units.push(value & 0xffff);
  }

  number(value) {
    this.unit(value >>> 16);
    this.unit(value);
  }

  text(text) {
    this.number(text.length);
    for (let i = 0; i < text.length; i++) this.units.push(text.charCodeAt(i));
  }

  colour(colour) {
    this.unit(colour ? 1 : 0);
    this.unit(colour?.red ?? 0);
    this.unit(colour?.green ?? 0);
    this.unit(colour?.blue ?? 0);
  }

  list(items, write) {
    this.number(items.length);
    items.forEach(write);
  }

  format(format) {
    this.text(format.font);
    this.number(format.halfPoints);
    let flags = 0;
    for (const [name, bit] of Object.entries(FLAGS)) if (format[name]) flags |= bit;
    if (format.alignment === 'super') flags |= SUPERSCRIPT;
    if (format.alignment === 'sub') flags |= SUBSCRIPT;
    this.unit(flags);
    this.colour(format.foreground);
    this.colour(format.highlight);
  }

  paragraph(paragraph) {
    this.unit(paragraph.ended ? 1 : 0);
    this.number(paragraph.mark);
    this.list(paragraph.runs, (run) => {
      this.number(run.format);
      this.text(run.text);
    });
  }
}

// The document laid out as units; fields left out take the core's defaults.
export function EncodeDocument(document) {
  const writer = new Writer();
  writer.unit(VERSION);
  writer.unit(document.defaultTabTwips == null ? 0 : 1);
  writer.number(document.defaultTabTwips ?? 0);
  const page = document.page;
  writer.unit(page ? 1 : 0);
  for (const side of ['widthTwips', 'heightTwips', 'leftTwips', 'rightTwips', 'topTwips',
    'bottomTwips']) {
    writer.number(page?.[side] ?? 0);
  }
  writer.number(document.defaultFont ?? 0);
  writer.list([...(document.fonts ?? new Map())], ([entry, name]) => {
    writer.number(entry);
    writer.text(name);
  });
  writer.list(document.colours ?? [], (colour) => writer.colour(colour));
  writer.list(document.formats, (format) => writer.format(format));
  writer.list(document.blocks, (block) => {
    if (block.paragraph) {
      writer.unit(0);
      writer.paragraph(block.paragraph);
    } else {
      writer.unit(1);
      writer.list(block.table, (row) => writer.list(row, (cell) =>
        writer.list(cell, (paragraph) => writer.paragraph(paragraph))));
    }
  });
  return Uint16Array.from(writer.units);
}
