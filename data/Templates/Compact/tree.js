/* Leafsmith contents tree. The website writer's calls, for every topic in order:
     SV(index, position, [closed picture, open picture])   values of the next item
     DS(parent index) ... DE()                             open and close a level below an item
     DB() IB(0|1)... IAM(index)|IC() LC(...)|CL(...) DT()   draw one item
   after SetEnv(line style, auto-collapse) and before collapseAll(). The tree is drawn where the
   script with the calls runs, or into the element with the id "leafsmith-tree"; the calls may sit
   in the page or in a file that every page loads. The item whose link leads to the page itself is
   marked current and its branch opened. Books expand and collapse on a click; with auto-collapse
   on, opening a book closes its open siblings. */
var lsTree = { lines: false, autoCollapse: false, root: null, levels: [], next: null, item: null, items: {} };

var lsLibrary = document.currentScript;

function lsPicture(name) { return "icons/" + name; }

function lsCell(row, picture, extraClass) {
  var cell = document.createElement("span");
  cell.className = "lst-cell" + (extraClass ? " " + extraClass : "");
  if (picture) cell.style.backgroundImage = "url('" + lsPicture(picture) + "')";
  row.appendChild(cell);
  return cell;
}

function lsIsLast(position) { return position == 2 || position == 3; }

function lsJointPicture(item) {
  var open = !item.closed;
  if (!lsTree.lines) return open ? "rootminus.gif" : "rootplus.gif";
  if (lsIsLast(item.position)) return open ? "lastminus.gif" : "lastplus.gif";
  return open ? "minus.gif" : "plus.gif";
}

function lsShow(item, open) {
  if (!item || !item.book) return;
  item.closed = !open;
  item.li.className = "lst-item" + (open ? "" : " lst-closed") + (item.current ? " lst-current" : "");
  if (item.icon) item.icon.src = lsPicture(open ? item.pictures[1] : item.pictures[0]);
  if (item.joint) item.joint.style.backgroundImage = "url('" + lsPicture(lsJointPicture(item)) + "')";
}

function lsToggle(index) {
  var item = lsTree.items[index];
  if (!item || !item.book) return false;
  var open = item.closed;
  if (open && lsTree.autoCollapse && item.li.parentNode) {
    var siblings = item.li.parentNode.childNodes;
    for (var i = 0; i < siblings.length; i++) {
      var other = siblings[i].lsItem;
      if (other && other !== item && other.book) lsShow(other, false);
    }
  }
  lsShow(item, open);
  return false;
}

function lsAddStyle() {
  if (document.getElementById("lstree-style")) return;
  var style = document.createElement("style");
  style.id = "lstree-style";
  style.appendChild(document.createTextNode([
    "ul.lstree, ul.lstree ul { list-style: none; margin: 0; padding: 0; }",
    "ul.lstree { font-size: 13px; white-space: nowrap; }",
    "ul.lstree li { margin: 0; padding: 0; }",
    "ul.lstree .lst-row { height: 20px; line-height: 20px; }",
    "ul.lstree .lst-cell { display: inline-block; width: 16px; height: 20px; vertical-align: top; background-position: center; background-repeat: no-repeat; }",
    "ul.lstree .lst-cell.lst-bar { background-repeat: repeat-y; }",
    "ul.lstree .lst-joint { cursor: pointer; }",
    "ul.lstree .lst-icon { width: 16px; height: 16px; vertical-align: top; margin: 2px 4px 0 0; border: 0; cursor: pointer; }",
    "ul.lstree a.lst-link { color: inherit; text-decoration: none; padding: 0 3px; border-radius: 3px; }",
    "ul.lstree a.lst-link:hover { text-decoration: underline; }",
    "ul.lstree .lst-current > .lst-row a.lst-link { background: rgba(40, 110, 200, .16); font-weight: 600; }",
    "ul.lstree .lst-closed > ul { display: none; }"
  ].join("\n")));
  // Just before the library when a page holds it in its head, where this style always stood;
  // else first in the head, so that the group's style sheet can override it.
  var head = document.head || document.getElementsByTagName("head")[0];
  if (lsLibrary && lsLibrary.parentNode === head) head.insertBefore(style, lsLibrary);
  else if (head) head.insertBefore(style, head.firstChild);
}

function SetEnv(lineStyle, autoCollapse) {
  lsTree.lines = lineStyle == 0;
  lsTree.autoCollapse = !!autoCollapse;
  lsTree.items = {};
  lsAddStyle();
  var root = document.createElement("ul");
  root.className = "lstree" + (lsTree.lines ? " lst-lines" : "");
  var here = document.getElementById("leafsmith-tree");
  var script = document.currentScript;
  if (here) {
    here.appendChild(root);
  } else if (script && script.parentNode) {
    script.parentNode.insertBefore(root, script.nextSibling);
  } else {
    document.body.appendChild(root);
  }
  lsTree.root = root;
  lsTree.levels = [root];
}

function SV(index, position, pictures) {
  lsTree.next = { index: index, position: position, pictures: pictures, book: false, closed: false };
}

function DS(parentIndex) {
  var parent = lsTree.items[parentIndex];
  var list = document.createElement("ul");
  (parent ? parent.li : lsTree.levels[lsTree.levels.length - 1]).appendChild(list);
  lsTree.levels.push(list);
}

function DE() {
  if (lsTree.levels.length > 1) lsTree.levels.pop();
}

function DB() {
  var item = lsTree.next || { index: -1, position: 1, pictures: ["9.gif", "9.gif"] };
  item.li = document.createElement("li");
  item.li.className = "lst-item";
  item.li.lsItem = item;
  item.row = document.createElement("div");
  item.row.className = "lst-row";
  item.li.appendChild(item.row);
  lsTree.levels[lsTree.levels.length - 1].appendChild(item.li);
  lsTree.items[item.index] = item;
  lsTree.item = item;
}

function IB(line) {
  var item = lsTree.item;
  if (item) lsCell(item.row, lsTree.lines && line == 1 ? "vertline.gif" : null, "lst-bar");
}

function IAM(index) {
  var item = lsTree.item;
  if (!item) return;
  item.joint = lsCell(item.row, null, "lst-joint");
  item.joint.onclick = function () { return lsToggle(index); };
}

function IC() {
  var item = lsTree.item;
  if (item) lsCell(item.row, lsTree.lines ? (lsIsLast(item.position) ? "lastnode.gif" : "node.gif") : null);
}

function lsLabel(item, title, link) {
  item.icon = document.createElement("img");
  item.icon.className = "lst-icon";
  item.icon.alt = "";
  item.icon.src = lsPicture(item.pictures[0]);
  item.row.appendChild(item.icon);
  var anchor = document.createElement("a");
  anchor.className = "lst-link";
  anchor.href = link;
  anchor.innerHTML = title;
  item.row.appendChild(anchor);
  item.link = anchor;
  return anchor;
}

function LC(id, title, link, index) {
  var item = lsTree.item;
  if (!item) return;
  item.book = true;
  var anchor = lsLabel(item, title, link);
  item.icon.onclick = function () { return lsToggle(item.index); };
  if (link == "#") anchor.onclick = function () { return lsToggle(item.index); };
  lsShow(item, true);
}

function CL(title, link, index) {
  var item = lsTree.item;
  if (item) lsLabel(item, title, link);
}

function DT() {
  lsTree.item = null;
  lsTree.next = null;
}

function lsSamePage(anchor) {
  if (!anchor || anchor.getAttribute("href") == "#") return false;
  var here = window.location.href.split("#")[0].split("?")[0];
  return anchor.href.split("#")[0].split("?")[0] == here;
}

function collapseAll() {
  var current = null;
  for (var index in lsTree.items) {
    var item = lsTree.items[index];
    if (item.book) lsShow(item, false);
    if (!current && lsSamePage(item.link)) current = item;
  }
  if (!current) return;
  current.current = true;
  current.li.className += " lst-current";
  if (current.book) lsShow(current, true);
  for (var node = current.li.parentNode; node && node !== lsTree.root; node = node.parentNode) {
    if (node.lsItem) lsShow(node.lsItem, true);
  }
}
($NAVIGATION$)
