// The page's own texts in each language the game speaks: the bar, the loading sign, the help
// panel and the screen reader's words. The game's screens have catalogues of their own.
'use strict';

const PAGE_TEXTS = {
  en: {
    help: 'How to play',
    close: 'Close',
    mute: 'Mute',
    loading: 'Loading…',
    name: 'Name',
    language: 'Language',
    pad: 'Game keys',
    screen: 'DOMRAK game screen, 80 by 25 characters; its text is read out as it changes, F2 reads all of it',
    stopped: 'The game has stopped. Reload the page to play again.',
    silent: 'This browser cannot play the sound: the game plays silently.',
    soundStarts: (tap) => `Sound starts with your first ${tap ? 'tap' : 'key'}.`,
    musicLoading: 'Music loading…',
    // What the browser lacks, said where the loading sign was.
    missing: {
      file: 'The game cannot run from a file:// address. Open it from a web server (./web.sh serves it).',
      webassembly: 'This browser cannot run the game: WebAssembly is turned off or missing (iOS Lockdown Mode turns it off).',
      worker: 'This browser cannot run the game: it has no Web Workers.',
    },
    turnPhone: 'Turn your phone on its side for bigger text.',
    fullScreen: 'Full screen',
    leaveFullScreen: 'Leave full screen',
    readScreen: 'Read the screen (F2)',
    switched: 'The game speaks English from its next screen.',
    notYet: ' (not available yet)',
    chosen: (item) => `Selected: ${item}`,
    revealed: (name, command) => `${name}: ${command}`,
    stop: '.',
    helpBody: `<h2 id="help-title">How to play</h2>
    <p>Keys: <kbd>↑</kbd> <kbd>↓</kbd> move the selection, <kbd>Enter</kbd> chooses and goes on,
      <kbd>←</kbd> <kbd>→</kbd> turn the manual's pages. On a phone the pad beside the screen has
      the same keys, and a text field opens the phone's keyboard for the name.</p>
    <ol>
      <li>Make a fighter first: choose Name Entry and type a name (letters, digits, space, _).
        The name alone decides the fighter's abilities. Answer Yes to keep the fighter, No to
        try another name.</li>
      <li>Then choose Enter the Arena: six rounds, one opponent each. It stays grey until you
        have a fighter.</li>
      <li>Each turn, choose one of four commands; your opponent chooses at the same time:
        <ul>
          <li>Attack: a normal blow; beats Smash, but fails one time in three against Counter.</li>
          <li>Smash: 1.5 times the power and always hits a Counter, but hits less often and
            halves your Defence for the turn.</li>
          <li>Counter: dodges and strikes back, and restores some HP and MP; always beats Spell,
            always loses to Smash.</li>
          <li>Spell: costs 150 MP and ignores Defence; fails against Counter.</li>
        </ul></li>
    </ol>
    <p>The full rules are under Manual on the title screen.</p>`,
  },
  ja: {
    help: '遊び方',
    close: '閉じる',
    mute: '消音',
    loading: '読み込み中…',
    name: '名前',
    language: '言語',
    pad: 'ゲームのキー',
    screen: 'DOMRAKのゲーム画面（80×25文字）。文字は変わるたびに読み上げられます。F2で画面全体を読み上げます',
    stopped: 'ゲームが止まりました。ページを読み込み直すと、また遊べます。',
    silent: 'このブラウザでは音が出せません。音なしで遊べます。',
    soundStarts: (tap) => `最初の${tap ? 'タップ' : 'キー'}で音が出ます。`,
    musicLoading: '音楽を読み込み中…',
    missing: {
      file: 'file:// のアドレスではゲームを動かせません。Webサーバーから開いてください（./web.sh で配信できます）。',
      webassembly: 'このブラウザではゲームを動かせません。WebAssemblyがオフか、ありません（iOSのロックダウンモードではオフになります）。',
      worker: 'このブラウザではゲームを動かせません。Web Workerがありません。',
    },
    turnPhone: 'スマートフォンを横にすると文字が大きくなります。',
    fullScreen: '全画面',
    leaveFullScreen: '全画面を終了',
    readScreen: '画面を読み上げる（F2）',
    switched: '次の画面から日本語になります。',
    notYet: '（まだ選べません）',
    chosen: (item) => `選択：${item}`,
    revealed: (name, command) => `${name}：${command}`,
    stop: '。',
    helpBody: `<h2 id="help-title">遊び方</h2>
    <p>キー：<kbd>↑</kbd> <kbd>↓</kbd> で選び、<kbd>Enter</kbd> で決定して先へ進みます。
      <kbd>←</kbd> <kbd>→</kbd> でマニュアルのページをめくります。スマートフォンでは画面の横に同じキーがあり、
      名前を打つときは入力欄からキーボードが開きます。</p>
    <ol>
      <li>まずキャラクターを作ります。「ネームエントリー」を選び、名前（英字、数字、空白、_）を入力します。
        能力は名前だけで決まります。「はい」でそのキャラクターに決め、「いいえ」で別の名前を試せます。</li>
      <li>次に「闘技場へ行く」を選びます。全6ラウンド、各ラウンドに相手が一人。キャラクターがいないうちは灰色です。</li>
      <li>毎ターン、4つのコマンドから一つを選びます。相手も同時に選びます。
        <ul>
          <li>攻撃：通常の攻撃。強攻撃に強いが、カウンターには3回に1回失敗する。</li>
          <li>強攻撃：1.5倍の威力で、カウンターには必ず当たる。ただし命中率が低く、このターン防御力が半分になる。</li>
          <li>カウンター：かわして反撃し、HPとMPを少し回復する。魔法には必ず勝ち、強攻撃には必ず負ける。</li>
          <li>魔法：MPを150使い、防御を無視する。カウンターには失敗する。</li>
        </ul></li>
    </ol>
    <p>詳しいルールはタイトル画面の「マニュアル」にあります。</p>`,
  },
};
