// Drives the built website and e-book of a project in Chromium:
//   node tree_test.mjs STRUCTURE.txt PLAIN_OUTPUT AUTOCOLLAPSE_OUTPUT [GROUP=OUTPUT ...]
// STRUCTURE.txt is what `leafsmith-build --structure` printed for the project; the two output
// folders are builds of it without and with auto-collapse, with the Classic group; each GROUP=OUTPUT
// is a build of its website and e-book with another shipped group, or for GROUP "inline", with a
// group that holds the library and the tree calls in every website page, as users' templates may.
// All output folders share one parent, which a local web server serves for the checks over http.
import { chromium } from "playwright-core";
import { spawn } from "node:child_process";
import { readFileSync } from "node:fs";
import { dirname, relative } from "node:path";
import { pathToFileURL } from "node:url";

const [structureFile, plainOut, autoOut, ...groupArgs] = process.argv.slice(2);
const structure = readFileSync(structureFile, "utf8");
const topics = structure
  .split("\n")
  .filter((line) => /^\d+\t/.test(line))
  .map((line) => {
    const [index, level, number, file, flags, , , , title] = line.split("\t");
    return { index: +index, level: +level, file, book: flags.includes("C"), page: flags.includes("P"), title };
  });
const defaultPage = topics[+/DefaultTopic=(\d+)/.exec(structure)[1]].file;
const groups = [["Classic", plainOut], ...groupArgs.map((arg) => arg.split("="))];

let failures = 0;
function check(condition, message) {
  if (condition) {
    console.log("ok   " + message);
  } else {
    console.log("FAIL " + message);
    failures++;
  }
}

const url = (folder, file) => pathToFileURL(`${folder}/${file}`).href;
const title = (topic) => topic.title.replace(/&amp;/g, "&");
const parentOf = (topic) => topics.slice(0, topic.index).reverse().find((other) => other.level < topic.level);
const branchOf = (topic) => {
  const branch = [];
  for (let parent = parentOf(topic); parent; parent = parentOf(parent)) branch.push(parent);
  return branch;
};
// The deepest page, its neighbours and a book outside its branch.
const pages = topics.filter((topic) => topic.page);
const deep = pages.reduce((deepest, topic) => (topic.level > deepest.level ? topic : deepest));
const branch = branchOf(deep);
const before = pages[pages.indexOf(deep) - 1];
const after = pages[pages.indexOf(deep) + 1];
const elsewhere = topics.find((topic) => topic.book && topic !== deep && !branch.includes(topic));

// python3 -m http.server on a free port of 127.0.0.1, serving `root`.
async function startServer(root) {
  const server = spawn("python3", ["-u", "-m", "http.server", "0", "--bind", "127.0.0.1", "--directory", root],
    { stdio: ["ignore", "pipe", "ignore"] });
  const port = await new Promise((resolve, reject) => {
    let said = "";
    server.stdout.on("data", (chunk) => {
      said += chunk;
      const found = / port (\d+) /.exec(said);
      if (found) resolve(+found[1]);
    });
    server.on("exit", (code) => reject(new Error(`the web server ended (${code}) before it served`)));
    setTimeout(() => reject(new Error("the web server did not start within 10 s")), 10000).unref();
  });
  return { server, url: (folder, file) => `http://127.0.0.1:${port}/${relative(root, folder)}/${file}` };
}
const web = await startServer(dirname(plainOut));
process.on("exit", () => web.server.kill());
const browser = await chromium.launch({
  executablePath: process.env.LEAFSMITH_CHROMIUM || "/usr/bin/chromium",
  args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
    "--disable-component-update", "--disable-sync"],
});
try {
  const page = await browser.newPage();
  const errors = [];
  page.on("pageerror", (error) => errors.push(error.message));
  const firstPage = topics.find((topic) => topic.page);
  const row = (topic) => page.locator("ul.lstree li.lst-item").nth(topic.index).locator(":scope > .lst-row");

  // Every topic is in the tree, in order.
  await page.goto(url(`${plainOut}/WEB/html`, firstPage.file));
  const titles = await page.locator("ul.lstree li.lst-item > .lst-row a.lst-link").allTextContents();
  check(titles.length === topics.length, `the tree shows all ${topics.length} topics (${titles.length})`);
  check(titles.every((text, i) => text === topics[i].title.replace(/&amp;/g, "&")), "the tree shows the titles in order");
  check((await page.locator("li.lst-current").count()) === 1, "the current page is marked");

  // A click on a book collapses and expands it.
  const book = topics.find((topic) => topic.book);
  const child = topics[book.index + 1];
  const bookItem = page.locator("ul.lstree li.lst-item").nth(book.index);
  await row(book).locator("img.lst-icon").click();
  const afterFirst = await row(child).isVisible();
  await row(book).locator("img.lst-icon").click();
  const afterSecond = await row(child).isVisible();
  check(afterFirst !== afterSecond, `a click on the book "${book.title}" shows and hides "${child.title}"`);
  check((await bookItem.getAttribute("class")).includes("lst-closed") === !afterSecond, "the book's state follows");
  // With the shipped settings a top-level book has a +/- box that does the same.
  check(book.level === 1 && (await row(book).locator(".lst-joint").count()) === 1, `"${book.title}" has a +/- box`);
  await row(book).locator(".lst-joint").click();
  check((await row(child).isVisible()) !== afterSecond, "a click on the box shows or hides its topics");

  // A click on a leaf opens its page.
  const leaf = topics.filter((topic) => !topic.book && topic.page && topic.level === 1).pop() ||
    topics.filter((topic) => !topic.book).pop();
  for (const ancestor of topics.filter((topic) => topic.book)) {
    if (!(await row(leaf).isVisible())) await row(ancestor).locator("img.lst-icon").click();
  }
  await row(leaf).locator("a.lst-link").click();
  await page.waitForURL((address) => address.href.endsWith("/" + leaf.file));
  check(page.url().endsWith("/" + leaf.file), `a click on the leaf "${leaf.title}" opens ${leaf.file}`);
  check(await row(leaf).evaluate((node) => node.parentNode.className.includes("lst-current")), "and marks it current");

  // With auto-collapse, opening one book closes its open siblings.
  const rootBooks = topics.filter((topic) => topic.book && topic.level === topics[0].level);
  if (rootBooks.length >= 2) {
    const [first, second] = rootBooks;
    await page.goto(url(`${autoOut}/WEB/html`, firstPage.file));
    const isOpen = async (topic) => !(await page.locator("ul.lstree li.lst-item").nth(topic.index).getAttribute("class")).includes("lst-closed");
    const toggle = (topic) => page.locator("ul.lstree li.lst-item").nth(topic.index).locator(":scope > .lst-row img.lst-icon").click();
    if (!(await isOpen(first))) await toggle(first);
    check(await isOpen(first), `"${first.title}" is open`);
    await toggle(second);
    check((await isOpen(second)) && !(await isOpen(first)), `opening "${second.title}" closes "${first.title}"`);
  } else {
    check(false, "the project needs two top-level books to show auto-collapse");
  }
  check(errors.length === 0, "no script errors on the website pages" + (errors.length ? ": " + errors.join("; ") : ""));

  // The e-book's jump menu opens the chosen page and preselects the current one.
  const ebook = await browser.newPage();
  await ebook.goto(url(`${plainOut}/eBook/html`, firstPage.file));
  const target = topics.filter((topic) => topic.page).pop();
  check((await ebook.locator("select.jumpmenu").inputValue()) === firstPage.file, "the jump menu shows the current page");
  await ebook.locator("select.jumpmenu").selectOption(target.file);
  await ebook.waitForURL((address) => address.href.endsWith("/" + target.file));
  check(ebook.url().endsWith("/" + target.file), `choosing "${target.title}" in the jump menu opens ${target.file}`);
  check((await ebook.locator("select.jumpmenu").inputValue()) === target.file, "and the menu then shows that page");

  // Every group, from the disk and from the web server: the deepest page is marked in the tree with
  // its branch open and the rest closed, and the jump menu lists every title with that page selected.
  check(deep.level >= 3 && branch.length >= 2 && elsewhere, `"${deep.title}" is a page two levels below a book`);
  const items = (tab) => tab.locator("ul.lstree li.lst-item");
  for (const [group, out] of groups) {
    for (const [where, address] of [["file", url], ["http", web.url]]) {
      const tab = await browser.newPage();
      const tabErrors = [];
      tab.on("pageerror", (error) => tabErrors.push(error.message));
      const name = `${group} over ${where}`;

      await tab.goto(address(`${out}/WEB/html`, deep.file));
      const current = await items(tab).evaluateAll((nodes) =>
        nodes.map((node, index) => (node.classList.contains("lst-current") ? index : -1)).filter((index) => index >= 0));
      check(current.length === 1 && current[0] === deep.index, `${name}: the tree marks "${deep.title}" current`);
      const closed = await items(tab).evaluateAll((nodes) => nodes.map((node) => node.classList.contains("lst-closed")));
      check(branch.every((topic) => !closed[topic.index]) && (await items(tab).nth(deep.index).isVisible()),
        `${name}: its branch is open (${branch.map(title).join(" < ")})`);
      check(closed[elsewhere.index], `${name}: "${elsewhere.title}", outside the branch, is closed`);

      await tab.goto(address(`${out}/eBook/html`, deep.file));
      const menu = tab.locator("select.jumpmenu");
      check((await menu.count()) === 1 && (await menu.inputValue()) === deep.file,
        `${name}: the jump menu preselects ${deep.file}`);
      const options = await menu.locator("option").evaluateAll((nodes) =>
        nodes.map((node) => ({ value: node.getAttribute("value"), text: node.textContent })));
      check(options.length === topics.length && options.every((option, i) =>
        option.value === (topics[i].page ? topics[i].file : "#") &&
        option.text === "\u00a0".repeat(4 * (topics[i].level - 1)) + " " + title(topics[i])),
        `${name}: the jump menu lists every title, indented, with its page or #`);
      const list = tab.locator("#leafsmith-titlelist");
      if (await list.count()) {
        const marked = await list.locator("a.ls-current").evaluateAll((nodes) => nodes.map((node) => node.getAttribute("href")));
        check((await list.locator("a").count()) === pages.length && marked.length === 1 && marked[0] === deep.file,
          `${name}: the title list beside the page links every page and marks ${deep.file}`);
      }
      check(tabErrors.length === 0, `${name}: no script errors` + (tabErrors.length ? ": " + tabErrors.join("; ") : ""));
      await tab.close();
    }
  }

  // Without script a page still leads to its neighbours and home, and carries neither tree nor menu.
  const plain = await browser.newContext({ javaScriptEnabled: false });
  for (const [group, out] of groups) {
    const tab = await plain.newPage();
    for (const [kind, home] of [["WEB", defaultPage], ["eBook", "index.htm"]]) {
      await tab.goto(url(`${out}/${kind}/html`, deep.file));
      const links = await tab.locator("a[href]").evaluateAll((nodes) => nodes.map((node) => node.getAttribute("href")));
      check([before.file, after.file, home].every((file) => links.includes(file)),
        `${group} ${kind} without script: links to ${before.file}, ${after.file} and ${home}`);
      const source = readFileSync(`${out}/${kind}/html/${deep.file}`, "latin1");
      const inPage = group === "inline" && kind === "WEB";
      check(source.includes("SetEnv(") === inPage && !source.includes("<option"),
        `${group} ${kind}: the page ${inPage ? "carries the tree calls itself" : "holds no tree calls"} and no menu`);
    }
  }
} finally {
  await browser.close();
  web.server.kill();
}
console.log(failures === 0 ? "all browser checks passed" : `${failures} browser checks failed`);
process.exit(failures === 0 ? 0 : 1);
