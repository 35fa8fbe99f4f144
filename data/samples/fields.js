// Copies the host's first field into the second, stamped with the year.
function Main() {
    var text = GetField(1, '');
    SetField(2, text + ' (' + new Date().getFullYear() + ')');
}

function Clear() {
    SetField(1, '');
    SetField(2, '');
}
