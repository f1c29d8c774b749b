// Writes what a pane of the page shows as RTF, as the desktop's rich-text
// pane writes its files: a font table and a colour table of what the text
// uses, the page's size and margins, then the text with only the changes of
// format between runs. The formats come from the browser's computed styles,
// so that whatever editing put into the pane (bold from Ctrl+B, pasted
// text) is written as it is shown.
import { ByteOfCode } from './cp1252.js';

// A4 with an edge of 5 mm, in twips: what the desktop writes when it has no
// printer to take the page from, and the page that the page prints on.
export const A4_PAGE = { widthTwips: 11906, heightTwips: 16838, leftTwips: 283, rightTwips: 283,
  topTwips: 283, bottomTwips: 283 };

const FONT_KINDS = new Map([
  ['Arial', '\\fswiss\\fcharset0'],
  ['Times New Roman', '\\froman\\fcharset0'],
  ['Courier New', '\\fmodern\\fcharset0'],
  ['Symbol', '\\froman\\fcharset2'],
]);
// The page shows the documents' fonts through their metric twins where the
// machine lacks them; the files name the documents' own.
const DOCUMENT_FAMILIES = new Map([
  ['liberation sans', 'Arial'], ['arial', 'Arial'],
  ['liberation serif', 'Times New Roman'], ['times new roman', 'Times New Roman'],
  ['liberation mono', 'Courier New'], ['courier new', 'Courier New'],
  ['symbol', 'Symbol'],
]);

function Escaped(text) {
  let out = '';
  for (const character of text) {
    if (character === '\\' || character === '{' || character === '}') {
      out += '\\' + character;
    } else if (character === '\t') {
      out += '\\tab ';
    } else if (character === '\u2028') {
      out += '\\line ';
    } else {
      const code = character.charCodeAt(0);
      const byte = character.length === 1 ? ByteOfCode(code) : undefined;
      if (byte !== undefined && byte >= 0x20 && byte < 0x80) {
        out += character;
      } else if (byte !== undefined) {
        out += `\\'${byte.toString(16).padStart(2, '0')}`;
      } else {
        // "\uN" takes a signed 16-bit number, one per UTF-16 unit; "?" is the
        // fallback byte that "\uc1" announces.
        for (let i = 0; i < character.length; i++) {
          const unit = character.charCodeAt(i);
          out += `\\u${unit > 32767 ? unit - 65536 : unit}?`;
        }
      }
    }
  }
  return out;
}

const BLOCKS = new Set(['P', 'DIV', 'LI', 'UL', 'OL', 'H1', 'H2', 'H3', 'H4', 'H5', 'H6',
  'BLOCKQUOTE', 'PRE', 'TABLE', 'TR', 'SECTION', 'ARTICLE']);

function IsBlock(node) {
  return node.nodeType === 1 && BLOCKS.has(node.nodeName);
}

// A <br> that ends its paragraph only holds the line's height open.
function IsPlaceholder(br, root) {
  for (let node = br; node && node !== root && !IsBlock(node); node = node.parentNode) {
    if (node.nextSibling) return false;
  }
  return true;
}

class Formats {
  constructor(root) {
    this.root = root;
    this.rootColour = getComputedStyle(root).color;
    this.cache = new Map();
    this.fonts = [];
    this.colours = [];
  }

  fontEntry(family) {
    let entry = this.fonts.indexOf(family);
    if (entry < 0) entry = this.fonts.push(family) - 1;
    return entry;
  }

  colourEntry(css) {
    let entry = this.colours.indexOf(css);
    if (entry < 0) entry = this.colours.push(css) - 1;
    return entry + 1;
  }

  // The state of the text that `element` holds, as the RTF reader's.
  stateOf(element) {
    let state = this.cache.get(element);
    if (state) return state;
    const style = getComputedStyle(element);
    let align = '';
    let sizeElement = element;
    let underline = false;
    let strike = false;
    let highlight = 0;
    for (let node = element; node && node !== this.root; node = node.parentElement) {
      const own = node === element ? style : getComputedStyle(node);
      if (!align && (own.verticalAlign === 'super' || own.verticalAlign === 'sub')) {
        align = own.verticalAlign;
        sizeElement = node.parentElement ?? node;
      }
      underline ||= own.textDecorationLine.includes('underline');
      strike ||= own.textDecorationLine.includes('line-through');
      if (!highlight) {
        const background = own.backgroundColor;
        if (background !== 'transparent' && !background.startsWith('rgba(0, 0, 0, 0')) {
          highlight = this.colourEntry(background);
        }
      }
    }
    const first = style.fontFamily.split(',')[0].trim().replace(/^["']|["']$/g, '');
    const family = DOCUMENT_FAMILIES.get(first.toLowerCase()) ?? first;
    const pixels = parseFloat(getComputedStyle(sizeElement).fontSize);
    state = {
      font: this.fontEntry(family),
      halfPoints: Math.round(pixels * 1.5),  // 96 px to 72 points, in halves
      bold: Number(style.fontWeight) >= 600,
      italic: style.fontStyle === 'italic',
      underline,
      strike,
      align,
      foreground: style.color === this.rootColour ? 0 : this.colourEntry(style.color),
      highlight,
    };
    this.cache.set(element, state);
    return state;
  }
}

// The pane's paragraphs, each a list of pieces { text, state }; an empty
// paragraph holds one empty piece in its own state.
function Paragraphs(root, formats) {
  const paragraphs = [];
  let current = null;
  const open = (element) => {
    current ??= { pieces: [], element };
  };
  const close = () => {
    if (current) {
      if (current.pieces.length === 0) {
        current.pieces.push({ text: '', state: formats.stateOf(current.element) });
      }
      paragraphs.push(current.pieces);
    }
    current = null;
  };
  const walk = (parent) => {
    for (const node of parent.childNodes) {
      if (node.nodeType === 3) {
        if (node.data) {
          open(parent);
          current.pieces.push({ text: node.data, state: formats.stateOf(parent) });
        }
      } else if (node.nodeName === 'BR') {
        if (IsPlaceholder(node, root)) {
          open(parent);
          current.element = parent;  // the empty line's own size
        } else {
          open(parent);
          current.pieces.push({ text: '\u2028', state: formats.stateOf(parent) });
        }
      } else if (IsBlock(node)) {
        close();
        walk(node);
        open(node);
        close();
      } else if (node.nodeType === 1) {
        walk(node);
      }
    }
  };
  walk(root);
  close();
  return paragraphs;
}

function Changes(from, to) {
  let words = '';
  if (from.font !== to.font) words += `\\f${to.font}`;
  if (from.halfPoints !== to.halfPoints) words += `\\fs${to.halfPoints}`;
  const toggle = (was, is, on, off) => {
    if (was !== is) words += is ? on : off;
  };
  toggle(from.bold, to.bold, '\\b', '\\b0');
  toggle(from.italic, to.italic, '\\i', '\\i0');
  toggle(from.underline, to.underline, '\\ul', '\\ulnone');
  toggle(from.strike, to.strike, '\\strike', '\\strike0');
  if (from.align !== to.align) {
    words += to.align === 'super' ? '\\super' : to.align === 'sub' ? '\\sub' : '\\nosupersub';
  }
  if (from.foreground !== to.foreground) words += `\\cf${to.foreground}`;
  if (from.highlight !== to.highlight) words += `\\highlight${to.highlight}`;
  return words ? words + ' ' : '';
}

function Rgb(css) {
  const [r, g, b] = css.match(/\d+(\.\d+)?/g).map(Number);
  return `\\red${Math.round(r)}\\green${Math.round(g)}\\blue${Math.round(b)};`;
}

// The pane `root` as RTF bytes on `page` (see A4_PAGE), tabs every
// `defaultTabTwips`.
export function WriteRtf(root, page = A4_PAGE, defaultTabTwips = 1440) {
  const formats = new Formats(root);
  const paragraphs = Paragraphs(root, formats);
  if (formats.fonts.length === 0) formats.fontEntry('Arial');  // the table needs entry 0
  let body = '';
  let current = { font: 0, halfPoints: 24, bold: false, italic: false, underline: false,
    strike: false, align: '', foreground: 0, highlight: 0 };
  paragraphs.forEach((pieces, index) => {
    for (const piece of pieces) {
      body += Changes(current, piece.state);
      current = piece.state;
      body += Escaped(piece.text);
    }
    if (index + 1 < paragraphs.length) body += '\\par\r\n';
  });
  let out = `{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab${defaultTabTwips}{\\fonttbl`;
  formats.fonts.forEach((family, entry) => {
    out += `{\\f${entry}${FONT_KINDS.get(family) ?? '\\fnil\\fcharset0'} ${Escaped(family)};}`;
  });
  out += '}\r\n{\\colortbl ;' + formats.colours.map(Rgb).join('') + '}\r\n';
  out += `\\paperw${page.widthTwips}\\paperh${page.heightTwips}\\margl${page.leftTwips}` +
    `\\margr${page.rightTwips}\\margt${page.topTwips}\\margb${page.bottomTwips}\r\n`;
  out += '\\viewkind4\\uc1\\pard\\plain ' + body + '}\r\n';
  return Uint8Array.from(out, (c) => c.charCodeAt(0));
}
