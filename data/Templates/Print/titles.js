/* Leafsmith e-book titles. Every page loads this file once: it puts the jump menu into the element
   with the id "leafsmith-jumpmenu", with the page's own entry selected, and the title list into
   the element with the id "leafsmith-titlelist", with the page's own link marked "ls-current".
   The title list is kept in the comment below, so that no character of a title can end it; the
   menu comes as a script string. */
function lsMenuMarkup() {
  return "($JUMPMENUSCRIPT$)";
}

function lsTitleSource() {
// ($TITLELIST$)
}

// The list as markup: the comment's line of the function above.
function lsTitleMarkup() {
  var source = lsTitleSource.toString();
  var text = source.slice(source.indexOf("//") + 3);
  var end = text.search(/[\r\n]/);
  return end < 0 ? text : text.slice(0, end);
}

// True when the link leads to this page, the way the browser resolves it.
function lsIsHere(link) {
  if (!link || link == "#") return false;
  var anchor = document.createElement("a");
  anchor.href = link;
  var here = window.location.href.split("#")[0].split("?")[0];
  return anchor.href.split("#")[0].split("?")[0] == here;
}

// The writer's jump menu, with this page's entry selected.
function lsJumpMenu() {
  var box = document.createElement("div");
  box.innerHTML = lsMenuMarkup();
  var menu = box.getElementsByTagName("select")[0];
  if (!menu) return box;
  for (var i = 0; i < menu.options.length; i++) {
    if (lsIsHere(menu.options[i].getAttribute("value"))) {
      menu.options[i].defaultSelected = menu.options[i].selected = true;
      break;
    }
  }
  return menu;
}

function lsFillTitles() {
  var place = document.getElementById("leafsmith-jumpmenu");
  var list = document.getElementById("leafsmith-titlelist");
  if (place && !place.lsFilled) {
    place.lsFilled = true;
    place.appendChild(lsJumpMenu());
  }
  if (list && !list.lsFilled) {
    list.lsFilled = true;
    list.innerHTML = lsTitleMarkup();
    var links = list.getElementsByTagName("a");
    for (var i = 0; i < links.length; i++) {
      if (lsIsHere(links[i].getAttribute("href"))) links[i].className = "ls-current";
    }
  }
}

lsFillTitles();
if (document.readyState == "loading") document.addEventListener("DOMContentLoaded", lsFillTitles);
