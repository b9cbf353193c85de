// The script library behind the document's text ranges. It lives in the
// program's own script world of the page (the page can neither see nor
// change it) as window.__vocabTextRanges, and keeps each range as a DOM
// Range in a table of its own, known to the program by a number. Positions
// are counted in characters of the body's text, as HtmlDocument.h says; the
// text is read afresh at every call, since the page may have changed.
//
// Every operation takes the document first (used by those that make a
// range) and its own arguments after it, all of them as data.

#include "EngineTextRange.h"

namespace vocab {

const QString &textRangeLibrary()
{
    static const QString library = QStringLiteral(R"JS(
(function () {
  if (window.__vocabTextRanges) return true;
  var SKIPPED = { SCRIPT: 1, STYLE: 1, TEXTAREA: 1, SELECT: 1, IFRAME: 1, TEMPLATE: 1, NOSCRIPT: 1, NOFRAMES: 1 };
  var INLINE = { A: 1, ABBR: 1, B: 1, BDI: 1, BDO: 1, BIG: 1, CITE: 1, CODE: 1, DEL: 1, DFN: 1, EM: 1, FONT: 1, I: 1, INS: 1,
    KBD: 1, MARK: 1, Q: 1, S: 1, SAMP: 1, SMALL: 1, SPAN: 1, STRIKE: 1, STRONG: 1, SUB: 1, SUP: 1, TT: 1, U: 1, VAR: 1 };
  var WORD = /[\p{L}\p{N}_]/u;
  var table = new Map();
  var next = 1;

  function isSpace(c) { return c === ' ' || c === '\t' || c === '\n' || c === '\r' || c === '\f'; }

  // The body's text, and for each of its characters the text node and the
  // offset in that node where it starts.
  function textOf(d) {
    var body = d.body;
    if (!body) throw new Error('The document has no body');
    var walker = d.createTreeWalker(body, NodeFilter.SHOW_ELEMENT | NodeFilter.SHOW_TEXT, {
      acceptNode: function (n) {
        if (n.nodeType === 1) return SKIPPED[n.nodeName.toUpperCase()] ? NodeFilter.FILTER_REJECT : NodeFilter.FILTER_SKIP;
        return NodeFilter.FILTER_ACCEPT;
      }
    });
    var chars = [], nodes = [], offsets = [], blank = false;
    for (var n = walker.nextNode(); n; n = walker.nextNode()) {
      var s = n.data;
      for (var j = 0; j < s.length; ++j) {
        var c = s.charAt(j), space = isSpace(c);
        if (space && blank) continue;
        chars.push(space || c === '\u00a0' ? ' ' : c);
        nodes.push(n);
        offsets.push(j);
        blank = space;
      }
    }
    return { d: d, body: body, text: chars.join(''), nodes: nodes, offsets: offsets };
  }

  // The number of characters before a boundary point.
  function indexAt(t, node, offset) {
    var probe = t.d.createRange();
    probe.setStart(node, offset);
    var lo = 0, hi = t.nodes.length;
    while (lo < hi) {
      var mid = (lo + hi) >> 1;
      if (probe.comparePoint(t.nodes[mid], t.offsets[mid]) < 0) lo = mid + 1; else hi = mid;
    }
    return lo;
  }

  // Where a range starting at character i begins, and where one ending
  // before character i ends: right after the character before it, so that
  // the range takes in nothing of the element that follows.
  function endPoint(t, i) {
    if (i > 0) { var k = Math.min(i, t.nodes.length) - 1; return [t.nodes[k], t.offsets[k] + 1]; }
    return t.nodes.length ? [t.nodes[0], t.offsets[0]] : [t.body, 0];
  }
  function startPoint(t, i) {
    return i < t.nodes.length ? [t.nodes[i], t.offsets[i]] : endPoint(t, t.nodes.length);
  }

  function entry(id) {
    var e = table.get(id);
    if (!e) throw new Error('The text range is gone with its page');
    return e;
  }
  function add(d, r) { var id = next++; table.set(id, { d: d, r: r }); return id; }

  function positions(e) {
    var t = textOf(e.d);
    return { t: t, s: indexAt(t, e.r.startContainer, e.r.startOffset), e: indexAt(t, e.r.endContainer, e.r.endOffset) };
  }
  // A range that takes in the whole text of an inline element takes in the
  // element itself, so that a paste over it leaves no empty element behind.
  function outward(point, atEnd, body) {
    var n = point[0], o = point[1];
    while (n !== body && n.parentNode && (n.nodeType === 3 || INLINE[n.nodeName.toUpperCase()])) {
      var edge = atEnd ? (n.nodeType === 3 ? n.length : n.childNodes.length) : 0;
      if (o !== edge) break;
      o = Array.prototype.indexOf.call(n.parentNode.childNodes, n) + (atEnd ? 1 : 0);
      n = n.parentNode;
    }
    return [n, o];
  }
  function place(e, t, s, end) {
    var a = startPoint(t, s), b = a;
    if (end > s) { a = outward(a, false, t.body); b = outward(endPoint(t, end), true, t.body); }
    e.r.setStart(a[0], a[1]);
    e.r.setEnd(b[0], b[1]);
  }
  function characters(unit) {
    if (String(unit).toLowerCase() !== 'character') throw new Error('Unknown unit: ' + unit);
  }
  function clamp(i, t) { return Math.max(0, Math.min(i, t.text.length)); }

  // Lower case one code unit at a time, so that positions keep their places.
  function folded(s) {
    var lower = s.toLowerCase();
    if (lower.length === s.length) return lower;
    var out = [];
    for (var i = 0; i < s.length; ++i) { var c = s.charAt(i), l = c.toLowerCase(); out.push(l.length === 1 ? l : c); }
    return out.join('');
  }
  function normalised(s) { return String(s).replace(/[ \t\n\r\f]+/g, ' ').replace(/\u00a0/g, ' '); }
  function isWordAt(text, i) { return i >= 0 && i < text.length && WORD.test(text.charAt(i)); }

  window.__vocabTextRanges = {
    create: function (d) {
      if (!d.body) throw new Error('The document has no body');
      var r = d.createRange();
      r.selectNodeContents(d.body);
      return add(d, r);
    },
    fromSelection: function (d) {
      var s = d.defaultView.getSelection(), r;
      if (s && s.rangeCount) r = s.getRangeAt(0).cloneRange();
      else { r = d.createRange(); r.setStart(d.body || d.documentElement, 0); }
      return add(d, r);
    },
    release: function (d, id) { table.delete(id); return true; },
    duplicate: function (d, id) { var e = entry(id); return add(e.d, e.r.cloneRange()); },
    text: function (d, id) { var p = positions(entry(id)); return p.t.text.slice(p.s, p.e); },
    htmlText: function (d, id) {
      var e = entry(id), box = e.d.createElement('div');
      box.appendChild(e.r.cloneContents());
      return box.innerHTML;
    },
    moveStart: function (d, id, unit, count) {
      characters(unit);
      var e = entry(id), p = positions(e), to = clamp(p.s + count, p.t);
      if (to > p.e) place(e, p.t, to, to);
      else { var a = startPoint(p.t, to); e.r.setStart(a[0], a[1]); }
      return to - p.s;
    },
    move: function (d, id, unit, count) {
      characters(unit);
      var e = entry(id), p = positions(e), to = clamp(p.s + count, p.t);
      place(e, p.t, to, to);
      return to - p.s;
    },
    findText: function (d, id, text, count, flags) {
      var e = entry(id), p = positions(e), t = p.t;
      var sought = normalised(text);
      if (!sought) return false;
      var matchCase = (flags & 4) !== 0, wholeWord = (flags & 2) !== 0;
      var hay = matchCase ? t.text : folded(t.text), needle = matchCase ? sought : folded(sought);
      var backward = count < 0, collapsed = p.s >= p.e;
      // Within the range; from a collapsed one, the text after it going
      // forward, the text before it going back.
      var minStart = p.s, maxEnd = collapsed ? t.text.length : p.e;
      if (collapsed && backward) { minStart = 0; maxEnd = p.s; }
      var maxStart = maxEnd - needle.length;
      function fits(i) {
        return !wholeWord || (!isWordAt(t.text, i - 1) && !isWordAt(t.text, i + needle.length));
      }
      var found = -1, i;
      if (maxStart < minStart) return false;
      if (!backward) {
        for (i = hay.indexOf(needle, minStart); i >= 0 && i <= maxStart; i = hay.indexOf(needle, i + 1))
          if (fits(i)) { found = i; break; }
      } else {
        for (i = hay.lastIndexOf(needle, maxStart); i >= minStart; i = i > 0 ? hay.lastIndexOf(needle, i - 1) : -1)
          if (fits(i)) { found = i; break; }
      }
      if (found < 0) return false;
      place(e, t, found, found + needle.length);
      return true;
    },
    scrollIntoView: function (d, id, alignToTop) {
      var e = entry(id), r = e.r, w = e.d.defaultView, n = r.startContainer;
      var element = n.nodeType === 1 ? n : n.parentElement;
      if (element) element.scrollIntoView(alignToTop);
      // An element may be far taller than the range; the range's own box
      // puts the text itself in view.
      var box = r.getBoundingClientRect();
      if (box.width || box.height) w.scrollBy(0, alignToTop ? box.top : box.bottom - w.innerHeight);
      return true;
    },
    select: function (d, id) {
      var e = entry(id), s = e.d.defaultView.getSelection();
      s.removeAllRanges();
      s.addRange(e.r.cloneRange());
      return true;
    },
    pasteHTML: function (d, id, html) {
      var e = entry(id), r = e.r;
      // Parsed in a template, scripts of the markup are inert.
      var holder = e.d.createElement('template');
      holder.innerHTML = String(html);
      var content = holder.content, last = content.lastChild;
      r.deleteContents();
      if (last) { r.insertNode(content); r.setStartAfter(last); }
      r.collapse(true);
      return true;
    },
    compareEndPoints: function (d, id, how, otherId) {
      var e = entry(id), o = entry(otherId);
      if (e.d !== o.d) throw new Error('The ranges are of different documents');
      var kinds = { starttostart: [0, 0], starttoend: [0, 1], endtostart: [1, 0], endtoend: [1, 1] };
      var k = kinds[String(how).toLowerCase()];
      if (!k) throw new Error('Unknown end points: ' + how);
      var t = textOf(e.d);
      var mine = k[0] ? indexAt(t, e.r.endContainer, e.r.endOffset) : indexAt(t, e.r.startContainer, e.r.startOffset);
      var theirs = k[1] ? indexAt(t, o.r.endContainer, o.r.endOffset) : indexAt(t, o.r.startContainer, o.r.startOffset);
      return mine < theirs ? -1 : mine > theirs ? 1 : 0;
    }
  };
  return true;
})()
)JS");
    return library;
}

} // namespace vocab
