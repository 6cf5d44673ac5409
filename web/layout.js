// Where the screen goes beside the page's controls: on touch devices a pad below the screen
// when the phone stands upright, or in two halves beside it when the phone lies on its side.
'use strict';

const PAD_SIDE_WIDTH = 112;  // CSS px each half of the pad needs beside a landscape screen
// Phones and tablets, whose main pointer is a finger; not laptops that also have a touch screen.
const touchLayout = matchMedia('(pointer: coarse)').matches;
document.body.classList.toggle('touch', touchLayout);

// The CSS pixels the screen may fill, as [width, height].
function screenSpace() {
  const bar = document.getElementById('bar').offsetHeight;
  if (!touchLayout) return [window.innerWidth, window.innerHeight - bar];
  if (window.innerWidth > window.innerHeight) return [window.innerWidth - 2 * PAD_SIDE_WIDTH, window.innerHeight];
  return [window.innerWidth, window.innerHeight - bar - document.getElementById('pad').offsetHeight];
}
