// The language of the game and its page: the browser's languages, or the visitor's choice
// with the page's 日本語 / English switch, remembered for the next visit. The page changes at
// once; the game's screens change from the next screen the game opens.
'use strict';

const LANGUAGE_KEY = 'domrak-language';

// Japanese where it comes before English among the browser's languages, English where any
// other language does; a browser that names none keeps the original, Japanese.
function browserLanguage(preferences) {
  for (const tag of preferences) {
    const language = tag.toLowerCase().split(/[-_]/)[0];
    if (language in PAGE_TEXTS) return language;
  }
  return preferences.length ? 'en' : 'ja';
}

function rememberedLanguage() {
  try {
    return localStorage.getItem(LANGUAGE_KEY);
  } catch {
    return null;  // a private window may keep nothing
  }
}

let pageLanguage = rememberedLanguage() in PAGE_TEXTS ? rememberedLanguage() : browserLanguage(navigator.languages || []);
const pageText = () => PAGE_TEXTS[pageLanguage];

// The game takes the language (a two-letter code) when its next screen starts.
function tellGame() {
  game.postMessage({ type: 'language', language: pageLanguage });
}

function showPageTexts() {
  const text = pageText();
  document.documentElement.lang = pageLanguage;
  document.getElementById('screen-text').lang = pageLanguage;
  const setText = (id, value) => { document.getElementById(id).textContent = value; };
  // A loading sign that stopped says what went wrong (page.js words it).
  if (!document.getElementById('loading').classList.contains('stopped')) setText('loading', text.loading);
  setText('mute-button', text.mute);
  setText('turn-hint', text.turnPhone);
  setText('read-button', text.readScreen);
  setText('full-screen-button', document.fullscreenElement ? text.leaveFullScreen : text.fullScreen);
  document.querySelector('label[for="name-field"]').textContent = text.name;
  for (const id of ['help-button', 'help-close', 'screen', 'pad']) {
    const label = { 'help-button': text.help, 'help-close': text.close, screen: text.screen, pad: text.pad }[id];
    document.getElementById(id).setAttribute('aria-label', label);
  }
  setText('help-button', text.help);
  // The help panel's text, after its Close button (which keeps its listeners).
  const close = document.getElementById('help-close');
  while (close.nextSibling) close.nextSibling.remove();
  close.insertAdjacentHTML('afterend', text.helpBody);
  languageSwitch.setAttribute('aria-label', text.language);
  for (const button of languageSwitch.children) button.setAttribute('aria-pressed', String(button.lang === pageLanguage));
}

// 日本語 / English, each button named in its own language.
const languageSwitch = document.createElement('div');
languageSwitch.id = 'language-switch';
languageSwitch.setAttribute('role', 'group');
for (const [language, name] of [['ja', '日本語'], ['en', 'English']]) {
  const button = document.createElement('button');
  button.type = 'button';
  button.lang = language;
  button.textContent = name;
  button.addEventListener('click', () => {
    if (language === pageLanguage) return;
    pageLanguage = language;
    try {
      localStorage.setItem(LANGUAGE_KEY, language);
    } catch {
      // Not remembered: the next visit follows the browser's languages again.
    }
    showPageTexts();
    tellGame();
    showNotice();
    document.getElementById('notice').textContent = pageText().switched;
  });
  languageSwitch.append(button);
}
document.getElementById('mute-button').after(languageSwitch);
showPageTexts();
tellGame();
