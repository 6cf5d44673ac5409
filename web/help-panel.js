// The "How to play" panel: opens by itself on a first visit only, and from its button at any
// time; closes with its Close button, Escape or a tap outside it.
'use strict';

const HELP_SEEN_KEY = 'domrak-help-seen';

class HelpPanel {
  constructor(panel, openButton, closeButton) {
    this.panel = panel;
    openButton.addEventListener('click', () => this.open());
    closeButton.addEventListener('click', () => panel.close());
    // A tap on the backdrop lands on the dialog itself, outside its content.
    panel.addEventListener('click', (event) => event.target === panel && panel.close());
    if (recall(HELP_SEEN_KEY) !== null) return;
    remember(HELP_SEEN_KEY, '1');
    this.open();
  }

  open() {
    if (!this.panel.open) this.panel.showModal();
  }
}
