// Where the screen goes beside the page's controls: on touch devices a pad below the screen
// when the phone stands upright, or in two halves beside it when the phone lies on its side;
// never under a notch or a rounded corner (the safe areas), and upright with a hint to turn
// the phone and a full-screen button.
'use strict';

const PAD_SIDE_WIDTH = 112;  // CSS px each half of the pad needs beside a landscape screen
// Phones and tablets, whose main pointer is a finger; not laptops that also have a touch screen.
const touchLayout = matchMedia('(pointer: coarse)').matches;
document.body.classList.toggle('touch', touchLayout);
const upright = matchMedia('(orientation: portrait)');

// The CSS pixels the screen may fill, as [width, height]: the window less the safe areas (the
// body's padding) and the page's controls.
function screenSpace() {
  const style = getComputedStyle(document.body);
  const width = window.innerWidth - parseFloat(style.paddingLeft) - parseFloat(style.paddingRight);
  const height = window.innerHeight - parseFloat(style.paddingTop) - parseFloat(style.paddingBottom);
  const hint = document.getElementById('turn-hint');
  hint.hidden = !(touchLayout && upright.matches);
  const bar = document.getElementById('bar').offsetHeight;
  if (!touchLayout) return [width, height - bar];
  if (!upright.matches) return [width - 2 * PAD_SIDE_WIDTH, height];
  return [width, height - bar - document.getElementById('pad').offsetHeight - hint.offsetHeight];
}

// Full screen, on its side where the browser lets the page lock that: offered on touch devices
// whose browser has it.
class FullScreenButton {
  constructor(button) {
    button.hidden = !(touchLayout && document.fullscreenEnabled);
    button.addEventListener('click', () => {
      if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
      else document.documentElement.requestFullscreen({ navigationUI: 'hide' })
        .then(() => screen.orientation?.lock?.('landscape')).catch(() => {});
    });
    const show = () => { button.textContent = document.fullscreenElement ? pageText().leaveFullScreen : pageText().fullScreen; };
    document.addEventListener('fullscreenchange', show);
    show();
  }
}
