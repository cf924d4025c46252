// How the game's compiled code meets the page. The game writes nothing to a
// console; a failure of its own is told to the player (pageEvents.fail).
Module.print = () => {};
Module.printErr = () => {};
Module.onRuntimeInitialized = () => pageEvents.start();
Module.onAbort = (what) => pageEvents.fail(what);
