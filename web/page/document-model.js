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
//   block  = { paragraph } | { table: [row] }
//   row    = { gapTwips, keepTogether, cells: [cell] }
//   cell   = { rightTwips, bordered, paragraphs: [paragraph] }
//   paragraph = { ended, centred, keepWithNext, mark: format index,
//                 runs: [{ format: index, text }] }
// As in RTF, each row has its own cell boundaries: `rightTwips` is a cell's
// right edge from its row's left edge; `gapTwips` half the space between two
// cells' texts.

const VERSION = 2;
const FLAGS = { bold: 1, italic: 2, underline: 4, strike: 8 };
const SUPERSCRIPT = 16;
const SUBSCRIPT = 32;
const PARAGRAPH_FLAGS = { ended: 1, centred: 2, keepWithNext: 4 };
const KEEP_TOGETHER = 1;
const BORDERED = 1;

function Flags(object, bits) {
  let flags = 0;
  for (const [name, bit] of Object.entries(bits)) if (object[name]) flags |= bit;
  return flags;
}

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

  // A count can never exceed the units left: a damaged one stops at once
  // rather than asking for room it could never fill.
  list(read) {
    const count = this.number();
    if (count < 0 || count > this.units.length - this.at) throw new RangeError('document cut short');
    const items = new Array(count);
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

  formatIndex() {
    const index = this.number();
    if (index < 0 || index >= this.formatCount) throw new RangeError('format out of the table');
    return index;
  }

  paragraph() {
    const flags = this.unit();
    const paragraph = {};
    for (const [name, bit] of Object.entries(PARAGRAPH_FLAGS)) paragraph[name] = (flags & bit) !== 0;
    paragraph.mark = this.formatIndex();
    paragraph.runs = this.list(() => ({ format: this.formatIndex(), text: this.text() }));
    return paragraph;
  }

  cell() {
    const rightTwips = this.number();
    const bordered = (this.unit() & BORDERED) !== 0;
    return { rightTwips, bordered, paragraphs: this.list(() => this.paragraph()) };
  }

  row() {
    const gapTwips = this.number();
    const keepTogether = (this.unit() & KEEP_TOGETHER) !== 0;
    return { gapTwips, keepTogether, cells: this.list(() => this.cell()) };
  }

  block() {
    const kind = this.unit();
    if (kind === 0) return { paragraph: this.paragraph() };
    if (kind === 1) return { table: this.list(() => this.row()) };
    throw new RangeError('unknown block');
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
  reader.formatCount = formats.length;
  const blocks = reader.list(() => reader.block());
  if (reader.at !== units.length) throw new RangeError('units beyond the document');
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
    let flags = Flags(format, FLAGS);
    if (format.alignment === 'super') flags |= SUPERSCRIPT;
    if (format.alignment === 'sub') flags |= SUBSCRIPT;
    this.unit(flags);
    this.colour(format.foreground);
    this.colour(format.highlight);
  }

  paragraph(paragraph) {
    this.unit(Flags(paragraph, PARAGRAPH_FLAGS));
    this.number(paragraph.mark);
    this.list(paragraph.runs, (run) => {
      this.number(run.format);
      this.text(run.text);
    });
  }

  table(rows) {
    this.list(rows, (row) => {
      this.number(row.gapTwips ?? 0);
      this.unit(row.keepTogether ? KEEP_TOGETHER : 0);
      this.list(row.cells, (cell) => {
        this.number(cell.rightTwips ?? 0);
        this.unit(cell.bordered ? BORDERED : 0);
        this.list(cell.paragraphs, (paragraph) => this.paragraph(paragraph));
      });
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
      writer.table(block.table);
    }
  });
  return Uint16Array.from(writer.units);
}
