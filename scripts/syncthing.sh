# Two Syncthing instances on 127.0.0.1, each with its own home and ports, sharing one folder with each
# other: a real sync engine between two "machines". Offline: no discovery, relays or NAT.
# shellcheck shell=bash

SYNC_PIDS=()

free_port() {  # a TCP port on 127.0.0.1 that nobody listens on
  local port
  while :; do
    port=$((20000 + RANDOM % 20000))
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null || { echo "$port"; return; }
  done
}

# $1 home, $2 folder to share, $3 listen port, $4 GUI port, $5 peer id, $6 peer port, $7 own id
configure_side() {
  local home=$1 folder=$2 port=$3 gui=$4 peer=$5 peer_port=$6 own=$7 config=$1/config.xml
  sed -i -e "s|<listenAddress>default</listenAddress>|<listenAddress>tcp://127.0.0.1:$port</listenAddress>|" \
    -e "s|<globalAnnounceEnabled>true|<globalAnnounceEnabled>false|" \
    -e "s|<localAnnounceEnabled>true|<localAnnounceEnabled>false|" \
    -e "s|<relaysEnabled>true|<relaysEnabled>false|" -e "s|<natEnabled>true|<natEnabled>false|" \
    -e "s|<crashReportingEnabled>true|<crashReportingEnabled>false|" -e "s|<urAccepted>0|<urAccepted>-1|" \
    -e "s|<autoUpgradeIntervalH>12|<autoUpgradeIntervalH>0|" -e "s|<startBrowser>true|<startBrowser>false|" \
    -e "s|<address>127.0.0.1:8384</address>|<address>127.0.0.1:$gui</address>|" "$config"
  local shared="    <folder id=\"notes\" label=\"notes\" path=\"$folder\" type=\"sendreceive\" rescanIntervalS=\"3600\" fsWatcherEnabled=\"true\" fsWatcherDelayS=\"1\" ignorePerms=\"false\" autoNormalize=\"true\">\n        <maxConflicts>10</maxConflicts>\n        <device id=\"$own\"></device>\n        <device id=\"$peer\"></device>\n    </folder>\n    <device id=\"$peer\" name=\"peer\" compression=\"metadata\" introducer=\"false\">\n        <address>tcp://127.0.0.1:$peer_port</address>\n    </device>"
  sed -i "0,/<configuration [^>]*>/s||&\n$shared|" "$config"
  mkdir -p "$folder/.stfolder"
}

# Starts the pair under $1: folders $1/a and $1/b, homes $1/home-a and $1/home-b.
start_sync_pair() {
  local root=$1 side
  declare -A id port
  for side in a b; do
    syncthing generate --home="$root/home-$side" --no-default-folder --skip-port-probing >/dev/null 2>&1
    id[$side]=$(syncthing --home="$root/home-$side" --device-id)
    port[$side]=$(free_port)
    mkdir -p "$root/$side"
  done
  configure_side "$root/home-a" "$root/a" "${port[a]}" "$(free_port)" "${id[b]}" "${port[b]}" "${id[a]}"
  configure_side "$root/home-b" "$root/b" "${port[b]}" "$(free_port)" "${id[a]}" "${port[a]}" "${id[b]}"
  for side in a b; do
    syncthing serve --home="$root/home-$side" --no-browser --no-restart --no-upgrade \
      >"$root/syncthing-$side.log" 2>&1 &
    SYNC_PIDS+=($!)
  done
  # Connected once a file written on one side arrives on the other.
  echo probe >"$root/a/probe"
  wait_for "the two Syncthing instances to connect" 90 test -f "$root/b/probe" || {
    tail -20 "$root/syncthing-a.log" "$root/syncthing-b.log" >&2
    return 1
  }
  rm -f "$root/a/probe"
  wait_for "the probe's removal to sync" 30 sh -c "! test -e '$root/b/probe'"
}

stop_sync_pair() {
  for pid in "${SYNC_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${SYNC_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
  SYNC_PIDS=()
}
