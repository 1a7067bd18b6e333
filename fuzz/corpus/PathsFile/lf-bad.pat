/vault/PAR
/vault/LAV
relative
/vault/*
/vault/USR
/vault/AUX
